#include "export/ArchivoDeExportacion.h"

#include "winapi/ansi.h"
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

QByteArrayView ArchivoDeExportacion::escribirLinea(const QStringList& valores) {
    if (valores.isEmpty() || fallo)
        return {};
    if (pendiente.size() >= kBloque)
        vaciar();
    const qsizetype inicio = pendiente.size();
    for (qsizetype i = 0; i < valores.size(); ++i) {
        pendiente += i > 0 ? ",\"" : "\"";
        agregarAnsi(pendiente, valores[i]);
        pendiente += '"';
    }
    pendiente += "\r\n";
    return QByteArrayView(pendiente).sliced(inicio);
}

bool ArchivoDeExportacion::vaciar() {
    if (!fallo)
        fallo = !escritura::escribirTodo(archivo, pendiente, &motivo);
    escritos += pendiente.size();
    pendiente.clear();
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
