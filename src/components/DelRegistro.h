#pragma once
// nodex.DelRegistro: the settings of the point-of-sale installation.

#include "components/Componente.h"

#include <QString>

class DelRegistro : public Componente {
public:
    // Why the point-of-sale settings of the installation found cannot be read or written, in words for
    // the user, naming the file; "" when they can.
    QString cError;

    virtual QString DatosQ7K(const QString& nombre) = 0;
    virtual void GuardaDatosQ7K(const QString& nombre, const QString& valor) = 0;
    // Non-empty when a point-of-sale installation is found in that folder, also when its settings are
    // there but cannot be read (cError says why).
    virtual QString BuscarRegistroQ7K(QString& carpeta) = 0;
};
