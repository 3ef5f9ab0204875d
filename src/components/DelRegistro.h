#pragma once
// nodex.DelRegistro: the settings of the point-of-sale installation.

#include "components/Componente.h"

#include <QString>

class DelRegistro : public Componente {
public:
    virtual QString DatosQ7K(const QString& nombre) = 0;
    virtual void GuardaDatosQ7K(const QString& nombre, const QString& valor) = 0;
    // Non-empty when a point-of-sale installation is found in that folder.
    virtual QString BuscarRegistroQ7K(QString& carpeta) = 0;
};
