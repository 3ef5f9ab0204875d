#include "export/LineasDeLaLista.h"

#include "winapi/escritura.h"

#include <QDir>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
constexpr qsizetype kBloque = 256 * 1024;
}

LineasDeLaLista::LineasDeLaLista(qint32 codigos) {
    huellas.reserve(static_cast<size_t>(std::max(codigos, 0)));
}

void LineasDeLaLista::agregarCodigo(QByteArrayView clave) {
    huellas.push_back(huellaDe(clave));
}

size_t LineasDeLaLista::huellaDe(QByteArrayView clave) {
    const size_t huella = qHash(clave);
    return huella == 0 ? 1 : huella;
}

LineasDeLaLista::Codigo& LineasDeLaLista::lugarDe(size_t huella) {
    // The hash's high bits spread over the table, which is never full.
    size_t i = static_cast<size_t>((static_cast<quint64>(huella >> 32) * tabla.size()) >> 32);
    while (tabla[i].huella != 0 && tabla[i].huella != huella)
        i = i + 1 == tabla.size() ? 0 : i + 1;
    return tabla[i];
}

bool LineasDeLaLista::preparar() {
    // A third more places than codes: a look rarely goes past the first.
    tabla.assign(huellas.size() + huellas.size() / 3 + 1, Codigo{});
    for (const size_t huella : huellas)
        lugarDe(huella).huella = huella;
    huellas = {};
    archivo.setFileTemplate(QDir::tempPath() + QStringLiteral("/catalogo-ftp-XXXXXX"));
    if (!archivo.open())
        motivo = archivo.errorString();
    return motivo.isEmpty();
}

LineasDeLaLista::Codigo* LineasDeLaLista::buscado(QByteArrayView clave) {
    Codigo& codigo = lugarDe(huellaDe(clave));
    return codigo.huella != 0 && codigo.desde < 0 ? &codigo : nullptr;
}

bool LineasDeLaLista::guardar(Codigo& codigo, QByteArrayView clave, QByteArrayView linea) {
    codigo = {codigo.huella, escritos + pendiente.size(), static_cast<qint32>(clave.size()),
              static_cast<qint32>(linea.size())};
    pendiente.append(clave).append(linea);
    return pendiente.size() < kBloque || vaciar();
}

bool LineasDeLaLista::vaciar() {
    if (motivo.isEmpty() && !escritura::escribirTodo(archivo, pendiente, motivo) && motivo.isEmpty())
        motivo = archivo.errorString();
    escritos += pendiente.size();
    pendiente.resize(0); // keeps its memory for the next block, where clear() would free it
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
    const Codigo& codigo = lugarDe(huellaDe(clave));
    if (codigo.huella == 0 || codigo.desde < 0 || codigo.largoClave != clave.size())
        return std::nullopt;
    QByteArray guardado(codigo.largoClave + codigo.largoLinea, Qt::Uninitialized);
    if (leerEn(codigo.desde, guardado) != guardado.size() || !guardado.startsWith(clave))
        return std::nullopt;
    return guardado.remove(0, codigo.largoClave);
}

qint64 LineasDeLaLista::leerEn(qint64 desde, QByteArray& destino) {
#ifdef Q_OS_UNIX
    // One call where a seek and a read are two: a list of the whole catalogue reads a line for each code.
    return ::pread(lectura.handle(), destino.data(), static_cast<size_t>(destino.size()), desde);
#else
    return lectura.seek(desde) ? lectura.read(destino.data(), destino.size()) : -1;
#endif
}
