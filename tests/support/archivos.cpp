#include "archivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray leerArchivo(const QString& ruta, const QByteArray& siFalta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : siFalta;
}

void escribirArchivo(const QString& ruta, const char* bytes) {
    if (bytes)
        escribirArchivo(ruta, QByteArray(bytes));
    else
        QFile::remove(ruta);
}

void escribirArchivo(const QString& ruta, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(ruta).absolutePath());
    QFile archivo(ruta);
    if (archivo.open(QIODevice::WriteOnly))
        archivo.write(bytes);
}
