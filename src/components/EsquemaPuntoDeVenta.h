#pragma once
// The point-of-sale database as this program knows it: its tables, and a sample catalogue for the
// demo, the tests and the benchmarks. One definition serves MariaDB and SQLite.

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

namespace puntoDeVenta {

// One row of `productos`. A null QString, or an empty optional, is stored as NULL.
struct Producto {
    QString Clave;
    QString Descrip;
    qint32 Linea = 0;
    std::optional<qint32> SubLinea;
    qint32 Marca = 0; // 0: no brand
    qint32 UnidadMedida = 0;
    qint32 MonedaCompra = 0;
    qint32 MonedaVenta = 0;
    double Existencia = 0;
    double Precio1 = 0;
    double Precio2 = 0;
    double Precio3 = 0;
    double Costo = 0;
    QDateTime FechaAlta; // local time; invalid is NULL
    QString CodigoBarras;
    QString Observaciones;
};

// The columns of `productos`, in table order.
QStringList columnasDeProductos();

// Creates every table on an open connection (QMYSQL or QSQLITE). Text columns compare without
// regard to letter case on both back ends, as MySQL's default collation does.
bool crearEsquema(const QSqlDatabase& db, QString* error = nullptr);

// Inserts products in one transaction, many rows per statement.
bool insertarProductos(const QSqlDatabase& db, const QList<Producto>& productos, QString* error = nullptr);

// Product number `numero` (1 upwards) of the sample catalogue: Clave "P" + six digits, so that code
// order is number order. Always the same for the same number.
Producto productoDeMuestra(qint32 numero);

// Fills the reference tables, `configuracion` and `textos`, and products 1 to `productos` of the
// sample catalogue, on a database made by crearEsquema.
bool llenarCatalogoDeMuestra(const QSqlDatabase& db, qint32 productos, QString* error = nullptr);

// Creates the SQLite file `archivo` (which must not exist) with the schema and the sample catalogue.
bool crearCatalogoSQLite(const QString& archivo, qint32 productos, QString* error = nullptr);

} // namespace puntoDeVenta
