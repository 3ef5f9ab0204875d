#include "export/LineasDeLaLista.h"

#include "modulo/ArchivosDelPrograma.h"
#include "winapi/escritura.h"

#include <algorithm>
#include <array>
#include <cstring>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
constexpr qsizetype kBloque = 256 * 1024;
// What is kept for a product starts with its code's length, so that a code is told from its line.
constexpr qsizetype kLargoDeClave = sizeof(quint32);
// Codes looked at together: the table is far larger than the processor's caches, and a code waiting
// for its place in memory would otherwise hold up the next.
constexpr size_t kJuntos = 64;

void anticipar(const void* lugar) {
    __builtin_prefetch(lugar);
}
} // namespace

LineasDeLaLista::LineasDeLaLista(qint32 codigos, qsizetype enMemoria) : enMemoria(enMemoria) {
    // A third more places than codes: a look rarely goes past the first.
    const size_t n = static_cast<size_t>(std::max(codigos, 0));
    tabla.assign(n + n / 3 + 1, Codigo{});
    porUbicar.reserve(kJuntos);
    // Only the part used becomes the process's memory.
    memoria.reserve(enMemoria);
}

void LineasDeLaLista::agregarCodigo(QByteArrayView clave) {
    porUbicar.push_back(huellaDe(clave));
    anticipar(&tabla[inicioDe(porUbicar.back())]);
    if (porUbicar.size() == kJuntos)
        ubicar();
}

void LineasDeLaLista::ubicar() {
    for (const quint32 huella : porUbicar)
        lugarDe(huella).huella = huella;
    porUbicar.clear();
}

quint32 LineasDeLaLista::huellaDe(QByteArrayView clave) {
    const auto completa = static_cast<quint64>(qHash(clave));
    const auto huella = static_cast<quint32>(completa ^ (completa >> 32));
    return huella == 0 ? 1 : huella;
}

size_t LineasDeLaLista::inicioDe(quint32 huella) const {
    // The hash spread over the table.
    return static_cast<size_t>((static_cast<quint64>(huella) * tabla.size()) >> 32);
}

LineasDeLaLista::Codigo& LineasDeLaLista::lugarDe(quint32 huella) {
    // The table is never full.
    size_t i = inicioDe(huella);
    while (tabla[i].huella != 0 && tabla[i].huella != huella)
        i = i + 1 == tabla.size() ? 0 : i + 1;
    return tabla[i];
}

LineasDeLaLista::Codigo* LineasDeLaLista::buscado(QByteArrayView clave) {
    if (!porUbicar.empty())
        ubicar();
    Codigo& codigo = lugarDe(huellaDe(clave));
    return codigo.huella != 0 && codigo.desde < 0 ? &codigo : nullptr;
}

bool LineasDeLaLista::guardar(Codigo& codigo, QByteArrayView clave, QByteArrayView linea) {
    const auto largoClave = static_cast<quint32>(clave.size());
    const qsizetype largo = kLargoDeClave + clave.size() + linea.size();
    aDisco = aDisco || memoria.size() + largo > enMemoria;
    QByteArray& destino = aDisco ? pendiente : memoria;
    // The file's places follow the memory's, which no longer grows.
    codigo = {codigo.huella, static_cast<quint32>(largo),
              aDisco ? memoria.size() + escritos + pendiente.size() : memoria.size()};
    destino.append(reinterpret_cast<const char*>(&largoClave), kLargoDeClave).append(clave).append(linea);
    return !aDisco || pendiente.size() < kBloque || vaciar();
}

bool LineasDeLaLista::vaciar() {
    if (!archivo.isOpen() && motivo.isEmpty()) {
        archivo.setFileTemplate(archivos::temporal());
        if (!archivo.open())
            motivo = archivo.errorString();
    }
    if (motivo.isEmpty() && !escritura::escribirTodo(archivo, pendiente, &motivo) && motivo.isEmpty())
        motivo = archivo.errorString();
    escritos += pendiente.size();
    pendiente.resize(0); // keeps its memory for the next block, where clear() would free it
    return motivo.isEmpty();
}

bool LineasDeLaLista::terminar() {
    if (!aDisco)
        return true;
    // Read back a line at a time, where Qt's buffering would read 16 KB for every line.
    if (!vaciar())
        return false;
    lectura.setFileName(archivo.fileName());
    if (!lectura.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        motivo = lectura.errorString();
    return motivo.isEmpty();
}

void LineasDeLaLista::lineas(const QList<QByteArray>& claves,
                             std::vector<std::optional<QByteArray>>& halladas) {
    halladas.assign(static_cast<size_t>(claves.size()), std::nullopt);
    for (qsizetype desde = 0; desde < claves.size(); desde += kJuntos) {
        const qsizetype hasta = std::min<qsizetype>(desde + kJuntos, claves.size());
        std::array<quint32, kJuntos> huellas{};
        std::array<const Codigo*, kJuntos> lugares{};
        for (qsizetype i = desde; i < hasta; ++i) {
            huellas[i - desde] = huellaDe(claves[i]);
            anticipar(&tabla[inicioDe(huellas[i - desde])]);
        }
        for (qsizetype i = desde; i < hasta; ++i) {
            lugares[i - desde] = &lugarDe(huellas[i - desde]);
            if (lugares[i - desde]->desde >= 0 && lugares[i - desde]->desde < memoria.size())
                anticipar(memoria.constData() + lugares[i - desde]->desde);
        }
        for (qsizetype i = desde; i < hasta; ++i)
            halladas[i] = lineaDe(*lugares[i - desde], claves[i]);
    }
}

std::optional<QByteArray> LineasDeLaLista::lineaDe(const Codigo& codigo, QByteArrayView clave) {
    if (codigo.huella == 0 || codigo.desde < 0)
        return std::nullopt;
    QByteArrayView guardado;
    if (codigo.desde < memoria.size()) {
        guardado = QByteArrayView(memoria).sliced(codigo.desde, codigo.largo);
    } else {
        leida.resize(codigo.largo);
        if (leerEn(codigo.desde - memoria.size(), leida) != leida.size())
            return std::nullopt;
        guardado = leida;
    }
    quint32 largoClave = 0;
    std::memcpy(&largoClave, guardado.data(), kLargoDeClave);
    guardado = guardado.sliced(kLargoDeClave);
    if (largoClave != clave.size() || !guardado.startsWith(clave))
        return std::nullopt;
    guardado = guardado.sliced(largoClave);
    // A line in memory is handed over without a copy: the memory stays as it is until the end.
    if (codigo.desde < memoria.size())
        return QByteArray::fromRawData(guardado.data(), guardado.size());
    return guardado.toByteArray();
}

qint64 LineasDeLaLista::leerEn(qint64 desde, QByteArray& destino) {
#ifdef Q_OS_UNIX
    // One call where a seek and a read are two: a list of the whole catalogue reads a line for each code.
    return ::pread(lectura.handle(), destino.data(), static_cast<size_t>(destino.size()), desde);
#else
    return lectura.seek(desde) ? lectura.read(destino.data(), destino.size()) : -1;
#endif
}
