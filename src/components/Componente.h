#pragma once
// Base of every point-of-sale component. The program creates components by ProgID through
// CreaObjeto (modulo/Rutinas.h) and calls them through the interfaces in this folder.

class Componente {
public:
    virtual ~Componente() = default;
};
