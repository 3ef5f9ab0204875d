#include "export/LineasDeLaLista.h"

#include "winapi/escritura.h"

#include <QDir>
#include <algorithm>

namespace {
constexpr qsizetype kBloque = 256 * 1024;
}

void LineasDeLaLista::agregarCodigo(QByteArrayView clave) {
    codigos.push_back({qHash(clave)});
}

bool LineasDeLaLista::preparar() {
    std::sort(codigos.begin(), codigos.end());
    codigos.erase(std::unique(codigos.begin(), codigos.end(),
                              [](const Codigo& a, const Codigo& b) { return a.huella == b.huella; }),
                  codigos.end());
    codigos.shrink_to_fit();
    archivo.setFileTemplate(QDir::tempPath() + QStringLiteral("/catalogo-ftp-XXXXXX"));
    if (!archivo.open())
        motivo = archivo.errorString();
    return motivo.isEmpty();
}

const LineasDeLaLista::Codigo* LineasDeLaLista::buscar(QByteArrayView clave) const {
    const size_t huella = qHash(clave);
    const auto lugar = std::lower_bound(codigos.begin(), codigos.end(), Codigo{huella});
    return lugar != codigos.end() && lugar->huella == huella ? &*lugar : nullptr;
}

LineasDeLaLista::Codigo* LineasDeLaLista::buscar(QByteArrayView clave) {
    return const_cast<Codigo*>(std::as_const(*this).buscar(clave));
}

bool LineasDeLaLista::buscado(QByteArrayView clave) const {
    const Codigo* codigo = buscar(clave);
    return codigo != nullptr && codigo->desde < 0;
}

bool LineasDeLaLista::guardar(QByteArrayView clave, QByteArrayView linea) {
    Codigo* codigo = buscar(clave);
    if (codigo == nullptr || codigo->desde >= 0)
        return true;
    *codigo = {codigo->huella, escritos + pendiente.size(), static_cast<qint32>(clave.size()),
               static_cast<qint32>(linea.size())};
    pendiente.append(clave).append(linea);
    return pendiente.size() < kBloque || vaciar();
}

bool LineasDeLaLista::vaciar() {
    if (motivo.isEmpty() && !escritura::escribirTodo(archivo, pendiente, motivo) && motivo.isEmpty())
        motivo = archivo.errorString();
    escritos += pendiente.size();
    pendiente.clear();
    return motivo.isEmpty();
}

bool LineasDeLaLista::terminar() {
    // Read back a line at a time, where Qt's buffering would read 16 KB for every line.
    lectura.setFileName(archivo.fileName());
    if (vaciar() && !lectura.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        motivo = lectura.errorString();
    return motivo.isEmpty();
}

std::optional<QByteArray> LineasDeLaLista::linea(QByteArrayView clave) {
    const Codigo* codigo = buscar(clave);
    if (codigo == nullptr || codigo->desde < 0 || codigo->largoClave != clave.size() ||
        !lectura.seek(codigo->desde))
        return std::nullopt;
    const QByteArray guardado = lectura.read(codigo->largoClave + codigo->largoLinea);
    if (!guardado.startsWith(clave) || guardado.size() != codigo->largoClave + codigo->largoLinea)
        return std::nullopt;
    return guardado.sliced(codigo->largoClave);
}
