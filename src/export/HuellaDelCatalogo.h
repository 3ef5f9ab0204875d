#pragma once
// What a catalogue is, told cheaply: by product code, a short hash of each product's line, and from those
// in file order a hash of the whole export file. The export hands over each line as it writes it, so telling
// an unchanged catalogue and counting what changed reads neither the file nor the database again.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// A product as a send compares it: hashes of its code and of its line (its lines, when the code comes
// more than once). Codes are hashed rather than kept: 16 bytes a product, whatever the codes' length.
struct ProductoPublicado {
    quint64 clave;
    quint64 linea;
    friend bool operator==(const ProductoPublicado&, const ProductoPublicado&) = default;
};
// In the order of their code hashes, each code once.
using ProductosPublicados = std::vector<ProductoPublicado>;

class HuellaDelCatalogo {
public:
    HuellaDelCatalogo();

    // One line of the file, as written, and its product's code (UTF-8).
    void agregar(QByteArrayView clave, QByteArrayView linea);

    // Once every line is in: the hash of the whole file, and its products. A code met again is the same
    // product, whose line is then its lines together, in their order. The file's hash is made from the
    // lines' hashes, in order, not from its bytes again: the bytes were hashed once already, and hashing
    // 8 MB a second time cost a send of 100,000 products a twentieth of its time.
    QByteArray resumen() const;
    ProductosPublicados productos() const;
    qint64 bytes() const { return bytes_; }
    qint32 lineas() const { return qint32(enOrden.size()); }

private:
    qint64 bytes_ = 0;
    ProductosPublicados enOrden; // as the file has them
    mutable QByteArray resumen_; // made once, when first asked for
};
