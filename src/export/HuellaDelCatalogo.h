#pragma once
// What a catalogue is, told cheaply: by product code, a short hash of each product's line, and from those
// in file order a hash of the whole export file. The export hands over each line as it writes it, so telling
// an unchanged catalogue and counting what changed reads neither the file nor the database again.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QTemporaryFile>
#include <memory>
#include <sodium.h>
#include <vector>

// A product as a send compares it: hashes of its code and of its line (its lines, when the code comes
// more than once). Codes are hashed rather than kept: 16 bytes a product, whatever the codes' length.
struct ProductoPublicado {
    quint64 clave;
    quint64 linea;
    friend bool operator==(const ProductoPublicado&, const ProductoPublicado&) = default;
};
using ProductosPublicados = std::vector<ProductoPublicado>;

// Reads the next `n` products stored as they lie in memory from where `archivo` stands into `bloque`;
// false, with "no se puede leer <file>: <why>", when they cannot all be read.
bool leerProductos(QFile& archivo, qint64 n, ProductosPublicados& bloque, QString* error);

// Products one at a time in the order of their code hashes, each code once.
class LectorDeProductos {
public:
    virtual ~LectorDeProductos() = default;
    // The next product; false at the end, or when reading failed (error() then says why).
    virtual bool siguiente(ProductoPublicado& producto) = 0;
    QString error() const { return motivo; }

protected:
    QString motivo;
};

class HuellaDelCatalogo {
public:
    // Products held in memory (1 MB) before they go, sorted, to a temporary file: a catalogue of a million
    // products takes no more memory than one of a hundred thousand.
    static constexpr size_t kEnMemoria = 64 * 1024;

    explicit HuellaDelCatalogo(size_t enMemoria = kEnMemoria);

    // One line of the file, as written, and its product's code (UTF-8).
    void agregar(QByteArrayView clave, QByteArrayView linea);

    // Once every line is in: the hash of the whole file, made from the lines' hashes in file order, not
    // from its bytes again (they were hashed once already, and hashing 8 MB a second time cost a send of
    // 100,000 products a twentieth of its time).
    QByteArray resumen() const;
    // Once every line is in, as often as wanted: the products, a code met again being the same product,
    // whose line is then its lines together, in their order.
    std::unique_ptr<LectorDeProductos> productos() const;
    qint64 bytes() const { return bytes_; }
    qint32 lineas() const { return lineas_; }

private:
    class Mezcla;
    // Feeds the file's hash the products not fed yet, in the file's order.
    void resumir() const;
    // Sorts the products in memory and writes them as the next part of the temporary file.
    void guardarParte();

    const size_t enMemoria;
    qint64 bytes_ = 0;
    qint32 lineas_ = 0;
    mutable ProductosPublicados recientes; // in file order until productos() sorts them
    mutable size_t resumidos = 0;          // of those, fed to the file's hash
    mutable crypto_generichash_blake2b_state estado;
    mutable QByteArray resumen_;
    QTemporaryFile partes;          // sorted parts, one after another
    std::vector<qint64> finDeParte; // in products, where each part ends
    bool sinDisco = false;          // a part could not be written: the rest stays in memory
};
