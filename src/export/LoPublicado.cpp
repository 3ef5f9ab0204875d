#include "export/LoPublicado.h"

#include "winapi/escritura.h"
#include "winapi/lectura.h"

#include <QDataStream>
#include <QDir>
#include <QIODevice>
#include <QtEndian>
#include <sodium.h>

namespace {

// The file: this line, then the fields in QDataStream's form, then a hash of all that before it, so that a
// file cut short or touched by hand reads as damaged instead of as a wrong publication.
const QByteArray kCabecera = QByteArrayLiteral("catalogo-ftp: lo publicado, forma 1\n");
// Fixed, so that a later Qt reads what this one wrote.
constexpr auto kVersion = QDataStream::Qt_6_0;
constexpr qint32 kMinimoParaRetener = 20;

QByteArray hashDe(QByteArrayView bytes) {
    QByteArray hash(crypto_generichash_blake2b_BYTES, Qt::Uninitialized);
    crypto_generichash_blake2b(reinterpret_cast<unsigned char*>(hash.data()), size_t(hash.size()),
                               reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<unsigned long long>(bytes.size()), nullptr, 0);
    return hash;
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
    nuevo.productos = huella.productos();
    return nuevo;
}

LecturaDeLoPublicado leerLoPublicado(const QString& ruta, LoPublicado& publicado, QString* error) {
    QByteArray bytes;
    QString porQue;
    switch (lectura::leer(ruta, bytes, &porQue)) {
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
    constexpr qsizetype hashBytes = crypto_generichash_blake2b_BYTES;
    if (bytes.size() < kCabecera.size() + hashBytes || !bytes.startsWith(kCabecera))
        return danado();
    const QByteArrayView cuerpo = QByteArrayView(bytes).first(bytes.size() - hashBytes);
    if (hashDe(cuerpo) != QByteArrayView(bytes).last(hashBytes))
        return danado();

    // Over the bytes read, not a copy of them: the products of a large catalogue are megabytes.
    const QByteArrayView campos = cuerpo.sliced(kCabecera.size());
    QDataStream entrada(QByteArray::fromRawData(campos.data(), campos.size()));
    entrada.setVersion(kVersion);
    LoPublicado leido;
    qint32 productos = 0;
    entrada >> leido.destino >> leido.bytes >> leido.resumen >> leido.publicado >> leido.subido >>
        leido.lineas >> productos;
    if (entrada.status() != QDataStream::Ok || productos < 0 || productos > leido.lineas)
        return danado();
    // The products as one block: a catalogue of 100,000 is read in a blink.
    leido.productos.resize(size_t(productos));
    const int tamano = productos * int(sizeof(ProductoPublicado));
    if (entrada.readRawData(reinterpret_cast<char*>(leido.productos.data()), tamano) != tamano ||
        !entrada.atEnd())
        return danado();
    for (ProductoPublicado& producto : leido.productos)
        producto = {qFromLittleEndian(producto.clave), qFromLittleEndian(producto.linea)};
    publicado = std::move(leido);
    return LecturaDeLoPublicado::leido;
}

bool escribirLoPublicado(const QString& ruta, const LoPublicado& publicado, QString* error) {
    QByteArray bytes = kCabecera;
    {
        QDataStream salida(&bytes, QIODevice::Append);
        salida.setVersion(kVersion);
        salida << publicado.destino << publicado.bytes << publicado.resumen << publicado.publicado
               << publicado.subido << publicado.lineas << qint32(publicado.productos.size());
    }
    const qsizetype inicio = bytes.size();
    bytes.resize(inicio + qsizetype(publicado.productos.size() * sizeof(ProductoPublicado)));
    auto* destino = reinterpret_cast<ProductoPublicado*>(bytes.data() + inicio);
    for (const ProductoPublicado& producto : publicado.productos)
        *destino++ = {qToLittleEndian(producto.clave), qToLittleEndian(producto.linea)};
    bytes += hashDe(bytes);
    return escritura::reemplazar(ruta, bytes, error);
}

bool retener(const LoPublicado& anterior, qint32 lineas) {
    return anterior.lineas >= kMinimoParaRetener && qint64(lineas) * 2 < anterior.lineas;
}

CambiosDelCatalogo cambiosDesde(const ProductosPublicados& antes, const ProductosPublicados& ahora) {
    // Both in the order of their codes' hashes: one pass over each.
    CambiosDelCatalogo cambios;
    auto a = antes.cbegin();
    for (const ProductoPublicado& producto : ahora) {
        for (; a != antes.cend() && a->clave < producto.clave; ++a)
            ++cambios.retirados;
        if (a == antes.cend() || a->clave != producto.clave) {
            ++cambios.nuevos;
        } else {
            cambios.modificados += a->linea != producto.linea;
            ++a;
        }
    }
    cambios.retirados += qint32(antes.cend() - a);
    return cambios;
}

QString textoDeCambios(const std::optional<CambiosDelCatalogo>& cambios) {
    if (!cambios)
        return QStringLiteral("Primera publicación");
    return QStringLiteral("Cambios: ") + cuenta(cambios->nuevos, "nuevo", "nuevos") + QStringLiteral(", ") +
           cuenta(cambios->retirados, "retirado", "retirados") + QStringLiteral(", ") +
           cuenta(cambios->modificados, "modificado", "modificados");
}
