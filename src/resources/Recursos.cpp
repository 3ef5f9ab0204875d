#include "resources/Recursos.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>
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

void instalarTraduccionDeQt() {
    static QPointer<QTranslator> instalada;
    if (instalada)
        return;
    Q_INIT_RESOURCE(traducciones);
    auto* traductor = new QTranslator(QCoreApplication::instance());
    if (traductor->load(QStringLiteral(":/traducciones/qtbase_es.qm")))
        QCoreApplication::installTranslator(traductor);
    instalada = traductor;
}
