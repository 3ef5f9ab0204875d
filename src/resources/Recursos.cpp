#include "resources/Recursos.h"

#include <QtGlobal>

void iniciarRecursos() {
    Q_INIT_RESOURCE(catalogo);
}

QIcon IconoDelPrograma() {
    iniciarRecursos();
    QIcon icono;
    for (const int lado : {16, 32, 64, 128})
        icono.addFile(QStringLiteral(":/imagenes/catalogo-%1.png").arg(lado), QSize(lado, lado));
    return icono;
}
