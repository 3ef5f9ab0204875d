#include "components/ArchivoIni.h"
#include "components/Nucleo.h"
#include "winapi/lectura.h"

#include <spdlog/spdlog.h>

namespace {
const QString kSeccion = QStringLiteral("Q7K");
}

QString DelRegistroNucleo::BuscarRegistroQ7K(QString& carpeta) {
    QString base = carpeta;
    while (base.size() > 1 && (base.endsWith(QLatin1Char('/')) || base.endsWith(QLatin1Char('\\'))))
        base.chop(1);
    cError.clear();
    if (base.isEmpty())
        return QString();
    const QString archivo = base + QStringLiteral("/Q7K.ini");
    QByteArray bytes;
    QString porQue;
    const lectura::Estado estado = lectura::leer(archivo, bytes, &porQue, ini::kMaximo);
    if (estado == lectura::Estado::ausente)
        return QString();
    archivoQ7K = archivo;
    if (estado == lectura::Estado::ilegible)
        cError = lectura::noSePuedeLeer(archivo, porQue);
    return carpeta;
}

QString DelRegistroNucleo::DatosQ7K(const QString& nombre) {
    if (archivoQ7K.isEmpty())
        return QString();
    cError.clear();
    return ini::leer(archivoQ7K, kSeccion, nombre, &cError);
}

void DelRegistroNucleo::GuardaDatosQ7K(const QString& nombre, const QString& valor) {
    if (archivoQ7K.isEmpty()) {
        spdlog::error("No se guarda {}: no se ha encontrado la instalación del punto de venta",
                      nombre.toStdString());
        return;
    }
    cError.clear();
    ini::escribir(archivoQ7K, kSeccion, nombre, valor, &cError);
}
