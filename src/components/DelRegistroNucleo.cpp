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
    const lectura::Lectura leido = lectura::leer(archivo, ini::kMaximo);
    if (leido.ausente())
        return QString();
    archivoQ7K = archivo;
    if (leido.ilegible())
        cError = leido.error();
    return carpeta;
}

QString DelRegistroNucleo::DatosQ7K(const QString& nombre) {
    return archivoQ7K.isEmpty() ? QString() : ini::leer(archivoQ7K, kSeccion, nombre, &cError);
}

void DelRegistroNucleo::GuardaDatosQ7K(const QString& nombre, const QString& valor) {
    if (archivoQ7K.isEmpty()) {
        spdlog::error("No se guarda {}: no se ha encontrado la instalación del punto de venta",
                      nombre.toStdString());
        return;
    }
    ini::escribir(archivoQ7K, kSeccion, nombre, valor, &cError);
}
