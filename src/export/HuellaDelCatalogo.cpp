#include "export/HuellaDelCatalogo.h"

#include "modulo/ArchivosDelPrograma.h"
#include "winapi/lectura.h"

#include <QtEndian>
#include <algorithm>
#include <sodium.h>
#include <utility>

namespace {

// MurmurHash64A with a fixed seed: a hash must be the same in every process and every version, and
// needs no secret, since nothing is guarded by it; eight bytes a step, where SipHash, byte by byte with a
// finish of its own, took half the cost of telling a catalogue of 100,000 products.
quint64 hash64(const char* datos, qsizetype bytes) {
    constexpr quint64 m = 0xc6a4a7935bd1e995ull;
    constexpr int r = 47;
    quint64 h = 0x9e3779b97f4a7c15ull ^ (quint64(bytes) * m);
    const auto mezclar = [&h](quint64 k) {
        k *= m;
        k ^= k >> r;
        k *= m;
        h ^= k;
        h *= m;
    };
    for (; bytes >= 8; datos += 8, bytes -= 8)
        mezclar(qFromLittleEndian<quint64>(datos));
    if (bytes > 0) {
        quint64 resto = 0;
        for (qsizetype i = bytes - 1; i >= 0; --i)
            resto = (resto << 8) | static_cast<unsigned char>(datos[i]);
        h ^= resto;
        h *= m;
    }
    h ^= h >> r;
    h *= m;
    h ^= h >> r;
    return h;
}

// By code hash, 16 bits a pass from the lowest: linear where a comparison sort of 100,000 products took
// a tenth of the whole cost, and stable, so that the lines of a repeated code keep the file's order.
void ordenarPorClave(ProductosPublicados& productos) {
    constexpr int kBits = 16;
    ProductosPublicados otro(productos.size());
    std::vector<size_t> inicio(size_t(1) << kBits);
    for (int desde = 0; desde < 64; desde += kBits) {
        const auto digito = [desde](const ProductoPublicado& p) { return size_t(p.clave >> desde) & 0xFFFF; };
        std::fill(inicio.begin(), inicio.end(), 0);
        for (const ProductoPublicado& p : productos)
            ++inicio[digito(p)];
        size_t suma = 0;
        for (size_t& n : inicio)
            suma += std::exchange(n, suma);
        for (const ProductoPublicado& p : productos)
            otro[inicio[digito(p)]++] = p;
        productos.swap(otro);
    }
}

// A code's lines taken together, in their order.
quint64 juntar(quint64 lineas, quint64 linea) {
    return lineas * 0x9E3779B97F4A7C15ull + linea;
}

constexpr qint64 kTamano = sizeof(ProductoPublicado);

} // namespace

bool leerProductos(QFile& archivo, qint64 n, ProductosPublicados& bloque, QString* error) {
    bloque.resize(size_t(n));
    if (archivo.read(reinterpret_cast<char*>(bloque.data()), n * kTamano) == n * kTamano)
        return true;
    if (error)
        *error = lectura::noSePuedeLeer(archivo.fileName(), archivo.errorString());
    return false;
}

// The sorted parts merged: a block of each part in memory at a time, and a heap of the parts by the code
// at their head. Parts are in file order and a sort keeps a code's lines in order, so taking the earlier
// part first among equal codes joins a repeated code's lines in the file's order.
class HuellaDelCatalogo::Mezcla : public LectorDeProductos {
public:
    explicit Mezcla(const HuellaDelCatalogo& huella) {
        if (!huella.finDeParte.empty()) {
            archivo.setFileName(huella.partes.fileName());
            if (!archivo.open(QIODevice::ReadOnly))
                motivo = lectura::noSePuedeLeer(archivo.fileName(), archivo.errorString());
        }
        fuentes.resize(huella.finDeParte.size() + 1);
        qint64 desde = 0;
        for (size_t i = 0; i < huella.finDeParte.size(); ++i) {
            fuentes[i].leidos = desde;
            desde = fuentes[i].fin = huella.finDeParte[i];
        }
        fuentes.back().actual = huella.recientes.data();
        fuentes.back().finDelBloque = huella.recientes.data() + huella.recientes.size();
        for (size_t i = 0; i < fuentes.size() && motivo.isEmpty(); ++i)
            if (fuentes[i].actual != fuentes[i].finDelBloque || recargar(fuentes[i]))
                ponerEnCola(i);
    }

    bool siguiente(ProductoPublicado& producto) override {
        if (!motivo.isEmpty() || cola.empty())
            return false;
        producto = tomar();
        while (!cola.empty() && cola.front().clave == producto.clave)
            producto.linea = juntar(producto.linea, tomar().linea);
        return motivo.isEmpty();
    }

private:
    struct Fuente {
        const ProductoPublicado* actual = nullptr;
        const ProductoPublicado* finDelBloque = nullptr;
        qint64 leidos = 0; // of the file, in products
        qint64 fin = 0;
        ProductosPublicados bloque;
    };
    struct Cabeza {
        quint64 clave;
        size_t fuente;
        // Reversed, for a heap with the least on top.
        bool operator<(const Cabeza& otra) const {
            return clave != otra.clave ? clave > otra.clave : fuente > otra.fuente;
        }
    };
    static constexpr qint64 kBloque = 4096;

    bool recargar(Fuente& fuente) {
        const qint64 n = std::min(kBloque, fuente.fin - fuente.leidos);
        if (n <= 0)
            return false;
        if (!archivo.seek(fuente.leidos * kTamano)) {
            motivo = lectura::noSePuedeLeer(archivo.fileName(), archivo.errorString());
            return false;
        }
        if (!leerProductos(archivo, n, fuente.bloque, &motivo))
            return false;
        fuente.leidos += n;
        fuente.actual = fuente.bloque.data();
        fuente.finDelBloque = fuente.actual + n;
        return true;
    }

    void ponerEnCola(size_t i) {
        cola.push_back({fuentes[i].actual->clave, i});
        std::push_heap(cola.begin(), cola.end());
    }

    ProductoPublicado tomar() {
        std::pop_heap(cola.begin(), cola.end());
        const size_t i = cola.back().fuente;
        cola.pop_back();
        Fuente& fuente = fuentes[i];
        const ProductoPublicado producto = *fuente.actual++;
        if (fuente.actual != fuente.finDelBloque || recargar(fuente))
            ponerEnCola(i);
        return producto;
    }

    QFile archivo;
    std::vector<Fuente> fuentes; // the parts on disk, then the one in memory
    std::vector<Cabeza> cola;
};

HuellaDelCatalogo::HuellaDelCatalogo(size_t enMemoria) : enMemoria(std::max<size_t>(enMemoria, 1)) {
    // Picks the fastest code for this processor; a hash is the same whichever runs, so a failure here
    // would only make it slower.
    [[maybe_unused]] const int iniciada = sodium_init();
    crypto_generichash_blake2b_init(&estado, nullptr, 0, crypto_generichash_blake2b_BYTES);
}

void HuellaDelCatalogo::agregar(QByteArrayView clave, QByteArrayView linea) {
    bytes_ += linea.size();
    ++lineas_;
    recientes.push_back({hash64(clave.data(), clave.size()), hash64(linea.data(), linea.size())});
    if (recientes.size() >= enMemoria && !sinDisco)
        guardarParte();
}

void HuellaDelCatalogo::guardarParte() {
    resumir();
    ordenarPorClave(recientes);
    if (!partes.isOpen()) {
        partes.setFileTemplate(archivos::temporal());
        sinDisco = !partes.open();
    }
    const qint64 desde = finDeParte.empty() ? 0 : finDeParte.back();
    const qint64 bytes = qint64(recientes.size()) * kTamano;
    // Where the disk refuses, the products stay here: more memory, the same outcome.
    sinDisco = sinDisco || !partes.seek(desde * kTamano) ||
               partes.write(reinterpret_cast<const char*>(recientes.data()), bytes) != bytes ||
               !partes.flush();
    if (sinDisco)
        return;
    finDeParte.push_back(desde + qint64(recientes.size()));
    recientes.clear();
    resumidos = 0;
}

void HuellaDelCatalogo::resumir() const {
    // The hashes as numbers of this machine: the kept hash is only ever compared with one made here.
    crypto_generichash_blake2b_update(&estado,
                                      reinterpret_cast<const unsigned char*>(recientes.data() + resumidos),
                                      (recientes.size() - resumidos) * sizeof(ProductoPublicado));
    resumidos = recientes.size();
}

QByteArray HuellaDelCatalogo::resumen() const {
    if (!resumen_.isEmpty())
        return resumen_;
    resumir();
    crypto_generichash_blake2b_state copia = estado;
    resumen_.resize(crypto_generichash_blake2b_BYTES);
    crypto_generichash_blake2b_final(&copia, reinterpret_cast<unsigned char*>(resumen_.data()),
                                     size_t(resumen_.size()));
    return resumen_;
}

std::unique_ptr<LectorDeProductos> HuellaDelCatalogo::productos() const {
    // The last part is sorted where it lies, after its hashes have gone into the file's.
    resumir();
    ordenarPorClave(recientes);
    return std::make_unique<Mezcla>(*this);
}
