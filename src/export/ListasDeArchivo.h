#pragma once
// The two list files beside the program. Both are ANSI text, one value per line, every line ended by
// CR LF, with no header; a line saved in UTF-8 by an editor is read as UTF-8. A write replaces the file
// whole or not at all. A value is written as held; a line break inside it becomes a space, since it
// would split the value in two. A line ends with CR LF, LF or a CR alone (old Mac editors) when read.
//
// Product list (ListaProductosReja.dat): two lines per product, code then description, in the order
// the products are sent. Field list (ListaDeCampos.dat): one column name per line, in the order of the
// values of each exported line.

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class LibKtfa;

// A row of the product grid.
struct ProductoDeLista {
    QString clave;
    QString descripcion;
    bool operator==(const ProductoDeLista&) const = default;
};

// A product as the export takes it from the list file: the description as the file's bytes, decoded
// only where the progress shows it.
struct ProductoListado {
    QString clave;
    QByteArray descripcion;
    QString textoDeDescripcion() const;
};

// An item of the field list box: the column name, with " - (n)" after it when the user numbered it.
struct CampoDeLista {
    QString texto;
    bool seleccionado = false;
};

// A list file as read.
template <class Valores> struct ListaLeida {
    bool existe = false; // the file is there
    Valores valores;     // in file order; none when the file is absent
};

// Replaces the file with these products. False when it cannot be written.
bool escribirListaDeProductos(const QString& ruta, const QList<ProductoDeLista>& productos);

// The products of the file, in file order; a last line without its description is left out. None when
// the file is there but cannot be read: `error` names it and says why.
std::optional<ListaLeida<QList<ProductoDeLista>>> leerListaDeProductos(const QString& ruta,
                                                                       QString* error = nullptr);

// The same products one at a time, as the export takes them: the file is read a part at a time, never
// whole, so that the list of a large catalogue takes no more memory than that of a small one. Each part
// is read by opening the file for a moment, as every other file is read: the shop may save a new list
// meanwhile, and a list that changes under the reading stops it (error()) rather than mixing two lists.
class ProductosDelArchivo {
public:
    static constexpr qsizetype kParte = 256 * 1024;

    explicit ProductosDelArchivo(const QString& ruta, qsizetype parte = kParte);
    bool existe() const { return hay; }
    QString error() const { return motivo; } // there, but it cannot be read (or changed while read)
    qint32 cuenta() const { return productos; }
    // The next product in file order; false after the last one, and when the reading failed.
    bool siguiente(ProductoDeLista& producto);
    bool siguiente(ProductoListado& producto);
    // Only the next product's code, as UTF-8: the description is skipped, not decoded.
    bool siguienteClave(QByteArray& clave);
    // Back to the first product.
    void reiniciar();

private:
    // The next line's bytes, valid until the next call.
    bool siguienteLinea(QByteArrayView& linea);
    // Appends the next part of the file to what is left of the one before; false at its end or on an
    // error.
    bool leerParte();

    QString ruta;
    const qsizetype tamanoDeParte;
    QByteArray bytes;       // what is read and not yet taken
    qsizetype posicion = 0; // in `bytes`
    qint64 leido = 0;       // of the file
    bool entero = false;    // `bytes` reaches the end of the file
    bool retenido = false;  // held whole: it could not be opened as a plain file
    qint64 tamano = 0;      // the file's size and time of change, which must not change while read
    QDateTime cambio;
    qint32 productos = 0;
    bool hay = false;
    QString motivo;
};

// Replaces the file with the selected fields: first those numbered 1, 2, … up to the number of selected
// items, each number once (the first item carrying it), then the unnumbered ones in list order. A
// number is read with `ktfa`.nxVal from the text that follows the separator and its "(".
bool escribirListaDeCampos(const QString& ruta, const QList<CampoDeLista>& elementos,
                           const QString& separador, LibKtfa& ktfa);

// The fields of a shop that has not chosen any: what the field list starts with, and what is exported
// while there is no field list file.
const QStringList& camposPorDefecto();

// The field names of the file, in file order, each line exactly as written. None when the file is there
// but cannot be read: `error` names it and says why.
std::optional<ListaLeida<QStringList>> leerListaDeCampos(const QString& ruta, QString* error = nullptr);
