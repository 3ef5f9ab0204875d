#pragma once
// nodex.DeAyudaQ7 of the desktop program: the product search window over the point of sale's
// `productos`, on a database connection of its own for the time the window is open.

#include "components/DeAyudaQ7.h"

class DeAyudaQ7DeVentana : public DeAyudaQ7 {
public:
    // A modal window over `ventanaDuena`. `conDescripcion`, `archivoIni`, `archivoIniUsuario`,
    // `soloActivos` and `conKits` mean nothing to this catalogue and are ignored. Condicion is left as
    // the condition the window applied.
    QString BuscarProdsSkn(QObject*& ventana, const QString& servidor, QObject*& ventanaDuena,
                           const QString& base, bool conDescripcion, QString& archivoIni,
                           QString& archivoIniUsuario, QString& condicion, bool soloActivos,
                           bool conKits) override;
};

// Registers "nodex.DeAyudaQ7".
void registrarBusquedaDeProductos();
