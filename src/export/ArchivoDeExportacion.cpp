#include "export/ArchivoDeExportacion.h"

#include "winapi/ansi.h"

namespace {
constexpr qsizetype kBloque = 256 * 1024;
}

ArchivoDeExportacion::ArchivoDeExportacion(const QString& ruta) : archivo(ruta) {}

bool ArchivoDeExportacion::abrir() {
    fallo = !archivo.open(QIODevice::WriteOnly);
    return !fallo;
}

void ArchivoDeExportacion::escribirLinea(const QStringList& valores) {
    if (valores.isEmpty() || fallo)
        return;
    for (qsizetype i = 0; i < valores.size(); ++i) {
        pendiente += i > 0 ? ",\"" : "\"";
        agregarAnsi(pendiente, valores[i]);
        pendiente += '"';
    }
    pendiente += "\r\n";
    if (pendiente.size() >= kBloque)
        vaciar();
}

bool ArchivoDeExportacion::vaciar() {
    if (!fallo && archivo.write(pendiente) != pendiente.size())
        fallo = true;
    escritos += pendiente.size();
    pendiente.clear();
    return !fallo;
}

bool ArchivoDeExportacion::terminar() {
    if (!vaciar()) {
        archivo.cancelWriting();
        archivo.commit();
        return false;
    }
    // commit() alone misses a write that fails as the last buffer goes to disk (a full disk).
    return archivo.flush() && archivo.commit();
}

void ArchivoDeExportacion::descartar() {
    archivo.cancelWriting();
    archivo.commit();
}
