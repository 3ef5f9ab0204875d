#include "components/EsquemaPuntoDeVenta.h"

#include "winapi/ado.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <functional>
#include <span>

namespace puntoDeVenta {

namespace {

struct Columna {
    const char* nombre;
    const char* tipo;
    bool nula = false;
    const char* defecto = nullptr;
};

struct Tabla {
    const char* nombre;
    std::span<const Columna> columnas;
    const char* clave;
};

constexpr Columna columnasLineas[] = {{"Id", "INT"}, {"Linea", "VARCHAR(60)"}};
constexpr Columna columnasSublineas[] = {
    {"Id", "INT"}, {"SubLinea", "VARCHAR(60)"}, {"Linea", "INT", false, "0"}};
constexpr Columna columnasMarcas[] = {{"Id", "INT"}, {"Marca", "VARCHAR(60)"}};
constexpr Columna columnasMedidas[] = {{"Id", "INT"}, {"Medida", "VARCHAR(30)"}};
constexpr Columna columnasMonedas[] = {{"Id", "INT"},
                                       {"Abreviacion", "VARCHAR(5)"},
                                       {"Moneda", "VARCHAR(40)"},
                                       {"TipoCambio", "DECIMAL(12,4)", false, "1"}};
constexpr Columna columnasProductos[] = {
    {"Clave", "VARCHAR(20)"},
    {"Descrip", "VARCHAR(120)"},
    {"Linea", "INT", false, "0"},
    {"SubLinea", "INT", true},
    {"Marca", "INT", false, "0"},
    {"UnidadMedida", "INT", false, "0"},
    {"MonedaCompra", "INT", false, "0"},
    {"MonedaVenta", "INT", false, "0"},
    {"Existencia", "DECIMAL(14,3)", false, "0"},
    {"Precio1", "DECIMAL(14,2)", false, "0"},
    {"Precio2", "DECIMAL(14,2)", false, "0"},
    {"Precio3", "DECIMAL(14,2)", false, "0"},
    {"Costo", "DECIMAL(14,4)", false, "0"},
    {"FechaAlta", "DATETIME", true},
    {"CodigoBarras", "VARCHAR(30)", true},
    {"Observaciones", "VARCHAR(255)", true},
};
constexpr Columna columnasConfiguracion[] = {{"Nombre", "VARCHAR(60)"}, {"Valor", "VARCHAR(255)", true}};
constexpr Columna columnasTextos[] = {{"Numero", "INT"}, {"Texto", "VARCHAR(255)"}};

constexpr Tabla tablas[] = {
    {"lineas", columnasLineas, "Id"},
    {"sublineas", columnasSublineas, "Id"},
    {"marcas", columnasMarcas, "Id"},
    {"medidas", columnasMedidas, "Id"},
    {"monedas", columnasMonedas, "Id"},
    {"productos", columnasProductos, "Clave"},
    {"configuracion", columnasConfiguracion, "Nombre"},
    {"textos", columnasTextos, "Numero"},
};

QStringList columnasDe(const char* nombre) {
    QStringList columnas;
    for (const Tabla& tabla : tablas)
        if (qstrcmp(tabla.nombre, nombre) == 0)
            for (const Columna& c : tabla.columnas)
                columnas << QLatin1String(c.nombre);
    return columnas;
}

bool esSQLite(const QSqlDatabase& db) {
    return db.driverName().startsWith(QLatin1String("QSQLITE"));
}

QString definicion(const Tabla& tabla, bool sqlite) {
    QStringList partes;
    for (const Columna& c : tabla.columnas) {
        QString parte = QLatin1String(c.nombre) + QLatin1Char(' ') + QLatin1String(c.tipo);
        if (!c.nula)
            parte += QLatin1String(" NOT NULL");
        if (c.defecto)
            parte += QLatin1String(" DEFAULT ") + QLatin1String(c.defecto);
        // MySQL's default collation ignores letter case ("p00001" finds "P00001", and sorts with it);
        // SQLite's NOCASE is the nearest it has.
        if (sqlite && QLatin1String(c.tipo).startsWith(QLatin1String("VARCHAR")))
            parte += QLatin1String(" COLLATE NOCASE");
        partes << parte;
    }
    partes << QStringLiteral("PRIMARY KEY (%1)").arg(QLatin1String(tabla.clave));
    QString sql = QStringLiteral("CREATE TABLE %1 (%2)")
                      .arg(QLatin1String(tabla.nombre), partes.join(QLatin1String(", ")));
    if (!sqlite)
        sql += QLatin1String(" DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci");
    return sql;
}

// Hands a Qt SQL error to the caller; false, to be returned.
bool fallo(QString* error, const QSqlError& motivo) {
    if (error)
        *error = motivo.text();
    return false;
}

// Rows go in groups, one statement each: one round trip to MariaDB per group instead of one per row.
// SQLite has no round trip to save, and Qt looks up every placeholder of a statement by position in a
// list, which grows with the square of the group: small groups there.
qsizetype filasPorSentencia(const QSqlDatabase& db) {
    return esSQLite(db) ? 100 : 400;
}

// Rows hold a value for every column of the table, in table order.
bool insertarFilas(const QSqlDatabase& db, const char* tabla, std::span<const QVariantList> filas,
                   QString* error) {
    const QStringList columnas = columnasDe(tabla);
    const QString fila = QLatin1Char('(') +
                         QStringList(columnas.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                         QLatin1Char(')');
    const QString inicio = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                               .arg(QLatin1String(tabla), columnas.join(QLatin1Char(',')));
    QSqlQuery consulta(db);
    qsizetype preparadas = 0; // rows of the statement now prepared
    const qsizetype porSentencia = filasPorSentencia(db);
    for (qsizetype desde = 0; desde < qsizetype(filas.size()); desde += porSentencia) {
        const auto grupo = filas.subspan(desde, std::min(porSentencia, qsizetype(filas.size()) - desde));
        if (qsizetype(grupo.size()) != preparadas) {
            preparadas = qsizetype(grupo.size());
            if (!consulta.prepare(inicio + QStringList(preparadas, fila).join(QLatin1Char(','))))
                return fallo(error, consulta.lastError());
        }
        for (const QVariantList& valores : grupo)
            for (const QVariant& valor : valores)
                consulta.addBindValue(valor);
        if (!consulta.exec())
            return fallo(error, consulta.lastError());
    }
    return true;
}

bool enTransaccion(const QSqlDatabase& db, QString* error, const std::function<bool()>& trabajo) {
    QSqlDatabase base = db;
    if (!base.transaction())
        return fallo(error, base.lastError());
    if (trabajo() && base.commit())
        return true;
    if (base.lastError().isValid()) // the commit failed; otherwise `trabajo` has said why
        fallo(error, base.lastError());
    base.rollback();
    return false;
}

template <class T> QVariant nulo() {
    return QVariant(QMetaType::fromType<T>());
}

QVariant texto(const QString& valor) {
    return valor.isNull() ? nulo<QString>() : QVariant(valor);
}

QVariantList valores(const Producto& p) {
    return {texto(p.Clave), texto(p.Descrip), p.Linea, p.SubLinea ? QVariant(*p.SubLinea) : nulo<qint32>(),
            p.Marca, p.UnidadMedida, p.MonedaCompra, p.MonedaVenta, p.Existencia, p.Precio1, p.Precio2,
            p.Precio3, p.Costo,
            // Written as text: both back ends read it, and SQLite keeps it as written.
            p.FechaAlta.isValid() ? QVariant(p.FechaAlta.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
                                  : nulo<QString>(),
            texto(p.CodigoBarras), texto(p.Observaciones)};
}

bool insertarProductosSinTransaccion(const QSqlDatabase& db, const QList<Producto>& productos,
                                     QString* error) {
    QList<QVariantList> filas;
    filas.reserve(productos.size());
    for (const Producto& p : productos)
        filas.append(valores(p));
    return insertarFilas(db, "productos", filas, error);
}

// The sample catalogue's reference rows, in the tables' column order. Their Ids are what the sample
// products point at.
struct FilasDeMuestra {
    const char* tabla;
    QList<QVariantList> filas;
};

const QList<FilasDeMuestra>& filasDeReferencia() {
    static const QList<FilasDeMuestra> datos = {
        {"lineas",
         {{1, QStringLiteral("Ferretería")},
          {2, QStringLiteral("Abarrotes")},
          {3, QStringLiteral("Limpieza")},
          {4, QStringLiteral("Papelería")},
          {5, QStringLiteral("Electricidad")},
          {6, QStringLiteral("Higiene personal")}}},
        {"sublineas",
         {{1, QStringLiteral("Herramientas manuales"), 1},
          {2, QStringLiteral("Medición"), 1},
          {3, QStringLiteral("Pinturas y brochas"), 1},
          {4, QStringLiteral("Café y té"), 2},
          {5, QStringLiteral("Endulzantes"), 2},
          {6, QStringLiteral("Enlatados"), 2},
          {7, QStringLiteral("Aceites y vinagres"), 2},
          {8, QStringLiteral("Galletas"), 2},
          {9, QStringLiteral("Jabones y detergentes"), 3},
          {10, QStringLiteral("Cuadernos"), 4},
          {11, QStringLiteral("Lápices y plumas"), 4},
          {12, QStringLiteral("Pegamentos"), 4},
          {13, QStringLiteral("Iluminación"), 5},
          {14, QStringLiteral("Cables y extensiones"), 5},
          {15, QStringLiteral("Cuidado del cabello"), 6},
          {16, QStringLiteral("Pañuelos y papel"), 6}}},
        {"marcas",
         {{1, QStringLiteral("La Económica")},
          {2, QStringLiteral("Santa Lucía")},
          {3, QStringLiteral("Herrajes del Bajío")},
          {4, QStringLiteral("Doña Pía")},
          {5, QStringLiteral("Grupo Álamo")},
          {6, QStringLiteral("Marca Propia")}}},
        {"medidas",
         {{1, QStringLiteral("Pieza")},
          {2, QStringLiteral("Kilogramo")},
          {3, QStringLiteral("Litro")},
          {4, QStringLiteral("Metro")},
          {5, QStringLiteral("Caja")},
          {6, QStringLiteral("Paquete")}}},
        {"monedas",
         {{1, QStringLiteral("$"), QStringLiteral("Peso mexicano"), 1.0},
          {2, QStringLiteral("US$"), QStringLiteral("Dólar estadounidense"), 17.25},
          {3, QStringLiteral("€"), QStringLiteral("Euro"), 18.9}}},
        {"configuracion",
         {{QStringLiteral("DescripDetallada"), QStringLiteral("1")},
          {QStringLiteral("NombreEmpresa"), QStringLiteral("Tlapalería «La Económica»")},
          {QStringLiteral("RutaRespaldo"), nulo<QString>()}}},
        {"textos",
         {{382, QStringLiteral("Orden del campo")},
          {1072, QStringLiteral("Escriba el número de orden del campo:")}}},
    };
    return datos;
}

struct Articulo {
    const char* nombre;
    qint32 linea;
    qint32 sublinea;
};

constexpr Articulo articulos[] = {
    {"Martillo de uña", 1, 1},      {"Desarmador plano", 1, 1},    {"Cinta métrica", 1, 2},
    {"Brocha de cerdas", 1, 3},     {"Café molido", 2, 4},         {"Té de manzanilla", 2, 4},
    {"Azúcar estándar", 2, 5},      {"Piña en almíbar", 2, 6},     {"Atún en agua", 2, 6},
    {"Aceite de oliva", 2, 7},      {"Vinagre de manzana", 2, 7},  {"Galletas de avena", 2, 8},
    {"Jabón neutro", 3, 9},         {"Detergente en polvo", 3, 9}, {"Cuaderno profesional", 4, 10},
    {"Lápiz del número 2", 4, 11},  {"Pegamento blanco", 4, 12},   {"Foco LED cálido", 5, 13},
    {"Extensión eléctrica", 5, 14}, {"Champú anticaspa", 6, 15},   {"Pañuelos desechables", 6, 16},
};

struct Presentacion {
    const char* texto;
    qint32 medida;
    bool fraccionable; // sold by weight or length: the stock has decimals
};

constexpr Presentacion presentaciones[] = {
    {"pieza", 1, false},    {"a granel", 2, true},          {"1 L", 3, false},
    {"por metro", 4, true}, {"caja con 12", 5, false},      {"paquete con 6", 6, false},
    {"16 oz", 1, false},    {"tamaño económico", 1, false},
};

QString codigoDeBarras(qint32 numero) {
    QString digitos =
        QStringLiteral("750") +
        QStringLiteral("%1").arg((qint64(numero) * 7919 + 12345) % 1000000000, 9, 10, QLatin1Char('0'));
    qint32 suma = 0;
    for (qsizetype i = 0; i < digitos.size(); ++i)
        suma += digitos.at(i).digitValue() * (i % 2 == 0 ? 1 : 3);
    return digitos + QString::number((10 - suma % 10) % 10);
}

} // namespace

QStringList columnasDeProductos() {
    return columnasDe("productos");
}

bool crearEsquema(const QSqlDatabase& db, QString* error) {
    QStringList sentencias;
    // With a write-ahead log an open recordset does not hold off a writer (the demo or a test
    // changing the catalogue while the program reads it); the setting stays in the file.
    if (esSQLite(db))
        sentencias << QStringLiteral("PRAGMA journal_mode=WAL");
    for (const Tabla& tabla : tablas)
        sentencias << definicion(tabla, esSQLite(db));
    QSqlQuery consulta(db);
    for (const QString& sql : sentencias) {
        if (!consulta.exec(sql))
            return fallo(error, consulta.lastError());
    }
    return true;
}

bool insertarProductos(const QSqlDatabase& db, const QList<Producto>& productos, QString* error) {
    return enTransaccion(db, error, [&] { return insertarProductosSinTransaccion(db, productos, error); });
}

Producto productoDeMuestra(qint32 numero) {
    const Articulo& articulo = articulos[numero % std::size(articulos)];
    const Presentacion& presentacion =
        presentaciones[(numero / std::size(articulos)) % std::size(presentaciones)];
    const bool importado = numero % 13 == 0;
    const qint64 centavos = 500 + (qint64(numero) * 7919) % 150000;

    Producto p;
    p.Clave = QStringLiteral("P%1").arg(numero, 6, 10, QLatin1Char('0'));
    p.Descrip = QString::fromUtf8(articulo.nombre) + QLatin1Char(' ') + QString::fromUtf8(presentacion.texto);
    if (importado)
        p.Descrip += QStringLiteral(" importado 2,50 €");
    p.Linea = articulo.linea;
    if (numero % 7 != 0)
        p.SubLinea = articulo.sublinea;
    p.Marca = numero % 10 == 0 ? 0 : 1 + numero % 6;
    p.UnidadMedida = presentacion.medida;
    p.MonedaCompra = importado ? 3 : (numero % 5 == 0 ? 2 : 1);
    p.MonedaVenta = importado ? 3 : 1;
    if (presentacion.fraccionable)
        p.Existencia = double((qint64(numero) * 37) % 2500) / 10;
    else
        p.Existencia = numero % 17 == 0 ? -2 : double((qint64(numero) * 37) % 250);
    p.Precio1 = double(centavos) / 100;
    p.Precio2 = double(qRound64(double(centavos) * 0.95)) / 100;
    p.Precio3 = double(qRound64(double(centavos) * 0.90)) / 100;
    p.Costo = double(qRound64(double(centavos) * 0.65)) / 100;
    const QTime hora = numero % 3 == 0 ? QTime(0, 0) : QTime(8 + numero % 11, (numero * 7) % 60);
    p.FechaAlta = QDateTime(QDate(2020, 1, 1).addDays((qint64(numero) * 11) % 1500), hora);
    if (numero % 3 != 0)
        p.CodigoBarras = codigoDeBarras(numero);
    if (numero % 25 == 0)
        p.Observaciones = QStringLiteral("Pedir al proveedor «Norte»; precio de lista 3,20 €");
    return p;
}

bool llenarCatalogoDeMuestra(const QSqlDatabase& db, qint32 productos, QString* error) {
    return enTransaccion(db, error, [&] {
        for (const FilasDeMuestra& datos : filasDeReferencia())
            if (!insertarFilas(db, datos.tabla, datos.filas, error))
                return false;
        // Generated a group at a time, so that a large catalogue never sits whole in memory.
        QList<Producto> grupo;
        constexpr qint32 porGrupo = 4000;
        for (qint32 desde = 1; desde <= productos; desde += porGrupo) {
            grupo.clear();
            for (qint32 n = desde; n <= productos && n < desde + porGrupo; ++n)
                grupo.append(productoDeMuestra(n));
            if (!insertarProductosSinTransaccion(db, grupo, error))
                return false;
        }
        return true;
    });
}

bool crearCatalogoSQLite(const QString& archivo, qint32 productos, QString* error) {
    if (QFileInfo::exists(archivo)) {
        if (error)
            *error = QStringLiteral("el archivo ya existe: %1").arg(archivo);
        return false;
    }
    const QString nombre = ado::nuevoNombreDeConexion(QStringLiteral("catalogo-muestra"));
    bool creado = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
        db.setDatabaseName(archivo);
        creado = (db.open() || fallo(error, db.lastError())) && crearEsquema(db, error) &&
                 llenarCatalogoDeMuestra(db, productos, error);
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    if (!creado)
        QFile::remove(archivo);
    return creado;
}

} // namespace puntoDeVenta
