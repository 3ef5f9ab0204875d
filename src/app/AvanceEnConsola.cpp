#include "app/AvanceEnConsola.h"

#include <QCoreApplication>

void AvanceEnConsola::ProcesarEventos() {
    QCoreApplication::processEvents();
}

void AvanceEnConsola::linea(const QString& texto) {
    QString una = texto;
    una.replace(QLatin1String("\r\n"), QLatin1String(" | "));
    salida << una << Qt::endl;
}
