#include "export/ArchivoDeExportacion.h"

#include "winapi/escritura.h"

namespace {
constexpr qsizetype kBloque = 256 * 1024;
}

ArchivoDeExportacion::ArchivoDeExportacion(const QString& ruta) : archivo(ruta) {}

bool ArchivoDeExportacion::abrir(QString* error) {
    fallo = !archivo.open(QIODevice::WriteOnly);
    if (fallo && error)
        *error = archivo.errorString();
    return !fallo;
}

void ArchivoDeExportacion::escribir(QByteArrayView lineas) {
    if (fallo)
        return;
    pendiente += lineas;
    if (pendiente.size() >= kBloque)
        vaciar();
}

bool ArchivoDeExportacion::vaciar() {
    if (!fallo)
        fallo = !escritura::escribirTodo(archivo, pendiente, &motivo);
    escritos += pendiente.size();
    pendiente.resize(0); // keeps its memory for the next block, where clear() would free it
    return !fallo;
}

bool ArchivoDeExportacion::terminar(QString* error) {
    if (!vaciar()) {
        descartar();
        if (error)
            *error = motivo;
        return false;
    }
    if (!archivo.commit()) {
        if (error)
            *error = archivo.errorString();
        return false;
    }
    return true;
}

void ArchivoDeExportacion::descartar() {
    archivo.cancelWriting();
    archivo.commit();
}
