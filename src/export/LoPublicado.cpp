#include "export/LoPublicado.h"

#include "winapi/escritura.h"
#include "winapi/lectura.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <memory>
#include <sodium.h>

namespace {

// The file: this line, then the fields in QDataStream's form, then a hash of all that before it, so that a
// file cut short or touched by hand reads as damaged instead of as a wrong publication.
const QByteArray kCabecera = QByteArrayLiteral("catalogo-ftp: lo publicado, forma 1\n");
// Fixed, so that a later Qt reads what this one wrote.
constexpr auto kVersion = QDataStream::Qt_6_0;
constexpr qint32 kMinimoParaRetener = 20;

constexpr qsizetype kHash = crypto_generichash_blake2b_BYTES;
constexpr qint64 kTamano = sizeof(ProductoPublicado);
// Enough for the fields, which come first.
constexpr qsizetype kCabeza = 4096;
// Products read or written at a time.
constexpr qint64 kBloque = 4096;

void actualizar(crypto_generichash_blake2b_state& estado, QByteArrayView bytes) {
    crypto_generichash_blake2b_update(&estado, reinterpret_cast<const unsigned char*>(bytes.data()),
                                      static_cast<unsigned long long>(bytes.size()));
}

QByteArray final(crypto_generichash_blake2b_state& estado) {
    QByteArray hash(kHash, Qt::Uninitialized);
    crypto_generichash_blake2b_final(&estado, reinterpret_cast<unsigned char*>(hash.data()),
                                     size_t(hash.size()));
    return hash;
}

QByteArray hashDe(QByteArrayView bytes) {
    crypto_generichash_blake2b_state estado;
    crypto_generichash_blake2b_init(&estado, nullptr, 0, kHash);
    actualizar(estado, bytes);
    return final(estado);
}

// The products kept in a publication's file, a block at a time; none without one. The file is read again
// after leerLoPublicado() checked it whole: holding its products in between would be the memory that
// reading it a block at a time saves.
class LectorDelArchivo : public LectorDeProductos {
public:
    explicit LectorDelArchivo(const LoPublicado* publicado) {
        if (!publicado)
            return;
        quedan = publicado->productos;
        archivo.setFileName(publicado->ruta);
        if (!archivo.open(QIODevice::ReadOnly) || !archivo.seek(publicado->desde))
            motivo = lectura::noSePuedeLeer(archivo.fileName(), archivo.errorString());
    }

    bool siguiente(ProductoPublicado& producto) override {
        if (actual == bloque.size() && !recargar())
            return false;
        producto = {qFromLittleEndian(bloque[actual].clave), qFromLittleEndian(bloque[actual].linea)};
        ++actual;
        return true;
    }

private:
    bool recargar() {
        const qint64 n = std::min(kBloque, quedan);
        if (n <= 0 || !motivo.isEmpty())
            return false;
        if (!leerProductos(archivo, n, bloque, &motivo))
            return false;
        quedan -= n;
        actual = 0;
        return true;
    }

    QFile archivo;
    qint64 quedan = 0;
    ProductosPublicados bloque;
    size_t actual = 0;
};

// Both in the order of their codes' hashes: one pass over each. `productos`: how many `ahora` has.
CambiosDelCatalogo contarCambios(LectorDeProductos& antes, LectorDeProductos& ahora, qint32& productos) {
    CambiosDelCatalogo cambios;
    productos = 0;
    ProductoPublicado a{};
    ProductoPublicado b{};
    bool hayAntes = antes.siguiente(a);
    for (; ahora.siguiente(b); ++productos) {
        for (; hayAntes && a.clave < b.clave; hayAntes = antes.siguiente(a))
            ++cambios.retirados;
        if (!hayAntes || a.clave != b.clave) {
            ++cambios.nuevos;
        } else {
            cambios.modificados += a.linea != b.linea;
            hayAntes = antes.siguiente(a);
        }
    }
    for (; hayAntes; hayAntes = antes.siguiente(a))
        ++cambios.retirados;
    return cambios;
}

// The file: the head, the fields, the products, and the hash of all that before it.
bool escribir(QFileDevice& archivo, const LoPublicado& publicado, LectorDeProductos& productos,
              QString* error) {
    crypto_generichash_blake2b_state estado;
    crypto_generichash_blake2b_init(&estado, nullptr, 0, kHash);
    const auto escribirBloque = [&](QByteArray& bytes) {
        actualizar(estado, bytes);
        const bool escrito = escritura::escribirTodo(archivo, bytes, error);
        bytes.resize(0);
        return escrito;
    };
    QByteArray bytes = kCabecera;
    {
        QDataStream salida(&bytes, QIODevice::Append);
        salida.setVersion(kVersion);
        salida << publicado.destino << publicado.bytes << publicado.resumen << publicado.publicado
               << publicado.subido << publicado.lineas << publicado.productos;
    }
    ProductoPublicado producto{};
    while (productos.siguiente(producto)) {
        const ProductoPublicado enDisco{qToLittleEndian(producto.clave), qToLittleEndian(producto.linea)};
        bytes.append(reinterpret_cast<const char*>(&enDisco), kTamano);
        if (bytes.size() >= kBloque * kTamano && !escribirBloque(bytes))
            return false;
    }
    if (!productos.error().isEmpty()) {
        if (error)
            *error = productos.error();
        return false;
    }
    if (!escribirBloque(bytes))
        return false;
    bytes = final(estado);
    return escritura::escribirTodo(archivo, bytes, error);
}

QString cuenta(qint32 n, const char* singular, const char* plural) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? singular : plural));
}

} // namespace

QByteArray destinoDe(const QString& servidor, const QString& usuario, const QString& remoto) {
    return hashDe((servidor + QLatin1Char('\n') + usuario + QLatin1Char('\n') + remoto).toUtf8());
}

LoPublicado publicacionDe(const HuellaDelCatalogo& huella, const QByteArray& destino,
                          const LoPublicado* anterior, const QDateTime& ahora) {
    LoPublicado nuevo;
    nuevo.destino = destino;
    nuevo.bytes = huella.bytes();
    nuevo.resumen = huella.resumen();
    const bool mismo = anterior && anterior->bytes == nuevo.bytes && anterior->resumen == nuevo.resumen;
    nuevo.publicado = mismo ? anterior->publicado : ahora;
    nuevo.subido = ahora;
    nuevo.lineas = huella.lineas();
    return nuevo;
}

LecturaDeLoPublicado leerLoPublicado(const QString& ruta, LoPublicado& publicado, QString* error) {
    // The whole file goes through the hash but for its last bytes, held back: they may be its own hash.
    crypto_generichash_blake2b_state estado;
    QByteArray cabeza; // the first bytes, which hold the fields
    QByteArray cola;
    qint64 tamano = 0;
    const auto parte = [&](qint64 desde, QByteArrayView bloque) {
        if (desde == 0) {
            crypto_generichash_blake2b_init(&estado, nullptr, 0, kHash);
            cabeza.clear();
            cola.clear();
        }
        tamano = desde + bloque.size();
        cabeza.append(bloque.first(std::min(bloque.size(), kCabeza - cabeza.size())));
        cola.append(bloque);
        const qsizetype hashable = cola.size() - kHash;
        if (hashable > 0) {
            actualizar(estado, QByteArrayView(cola).first(hashable));
            cola.remove(0, hashable);
        }
    };
    QString porQue;
    switch (lectura::leerEnPartes(ruta, parte, &porQue)) {
    case lectura::Estado::ausente:
        return LecturaDeLoPublicado::ninguno;
    case lectura::Estado::ilegible:
        if (error)
            *error = lectura::noSePuedeLeer(ruta, porQue);
        return LecturaDeLoPublicado::ilegible;
    case lectura::Estado::leido:
        break;
    }
    const auto danado = [&] {
        if (error)
            *error = QStringLiteral("%1 está dañado").arg(QDir::toNativeSeparators(ruta));
        return LecturaDeLoPublicado::danado;
    };
    if (tamano < kCabecera.size() + kHash || !cabeza.startsWith(kCabecera) || final(estado) != cola)
        return danado();

    QDataStream entrada(cabeza.sliced(kCabecera.size()));
    entrada.setVersion(kVersion);
    LoPublicado leido;
    entrada >> leido.destino >> leido.bytes >> leido.resumen >> leido.publicado >> leido.subido >>
        leido.lineas >> leido.productos;
    leido.ruta = ruta;
    leido.desde = kCabecera.size() + entrada.device()->pos();
    if (entrada.status() != QDataStream::Ok || leido.productos < 0 || leido.productos > leido.lineas ||
        leido.desde + leido.productos * kTamano + kHash != tamano)
        return danado();
    publicado = std::move(leido);
    return LecturaDeLoPublicado::leido;
}

bool guardarPublicacion(const QString& ruta, LoPublicado nuevo, const HuellaDelCatalogo& huella,
                        const LoPublicado* anterior, std::optional<CambiosDelCatalogo>& cambios,
                        QString* error) {
    // The file's head counts the products: a first pass counts them and what changed, the second writes.
    {
        const std::unique_ptr<LectorDeProductos> ahora = huella.productos();
        LectorDelArchivo antes(anterior);
        cambios = contarCambios(antes, *ahora, nuevo.productos);
        if (!anterior || !antes.error().isEmpty() || !ahora->error().isEmpty())
            cambios.reset();
        if (!ahora->error().isEmpty()) {
            if (error)
                *error = ahora->error();
            return false;
        }
    }
    const std::unique_ptr<LectorDeProductos> productos = huella.productos();
    return escritura::reemplazar(
        ruta,
        [&](QFileDevice& archivo, QString* porQue) { return escribir(archivo, nuevo, *productos, porQue); },
        error);
}

bool retener(const LoPublicado& anterior, qint32 lineas) {
    return anterior.lineas >= kMinimoParaRetener && qint64(lineas) * 2 < anterior.lineas;
}

QString textoDeCambios(const std::optional<CambiosDelCatalogo>& cambios) {
    if (!cambios)
        return QStringLiteral("Primera publicación");
    return QStringLiteral("Cambios: ") + cuenta(cambios->nuevos, "nuevo", "nuevos") + QStringLiteral(", ") +
           cuenta(cambios->retirados, "retirado", "retirados") + QStringLiteral(", ") +
           cuenta(cambios->modificados, "modificado", "modificados");
}
