#pragma once
// Nodex.DeEquipo: machine information.

#include "components/Componente.h"

#include <QString>

class DeEquipo : public Componente {
public:
    virtual QString NetName() = 0;
};
