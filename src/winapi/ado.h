#pragma once
// ADO's Connection and Recordset over Qt SQL, in ADO's own vocabulary, so that the code that reads
// products reads like the point-of-sale's own code: rs.Eof(), rs.MoveNext(), rs.Fields("Clave").Value().

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace ado {

// adStateClosed / adStateOpen, as ADO reports them.
inline constexpr qint32 adStateClosed = 0;
inline constexpr qint32 adStateOpen = 1;

// A Qt connection name not used before in this process ("<prefijo>-<n>"): every open connection
// has a name of its own, so that closing one never closes another.
QString nuevoNombreDeConexion(const QString& prefijo);

class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;
    ~Connection();

    // Takes over a Qt SQL connection that is already open (the database component opens it). From
    // then on this object owns the name: Close() removes the Qt connection.
    void adoptar(const QString& nombreConexion);
    QString nombreConexion() const { return nombre; }
    // The Qt SQL connection, for components that run statements of their own; invalid when closed.
    QSqlDatabase baseDeDatos() const;

    qint32 State() const;
    void Close();

private:
    QString nombre;
};

class Field {
public:
    Field(QString nombre, QVariant valor, QMetaType tipo = QMetaType(), bool decimalExacto = false)
        : nombre(std::move(nombre)), valor(std::move(valor)), tipo(tipo), decimalExacto(decimalExacto) {}
    const QString& Name() const { return nombre; }
    // A NULL column gives a null QVariant; MySQL dates come as QDateTime, SQLite's as their text.
    const QVariant& Value() const { return valor; }
    // The column's type as the database declares it. With QSql::HighPrecision a numeric column is a
    // number here while its values come as text: a DOUBLE's or FLOAT's as the server prints it ("1e20"),
    // a DECIMAL's as its exact digits.
    QMetaType Type() const { return tipo; }
    // A DECIMAL column, whose text holds the exact value (not a binary fraction's approximation).
    bool isExactDecimal() const { return decimalExacto; }

private:
    QString nombre;
    QVariant valor;
    QMetaType tipo;
    bool decimalExacto;
};

class Fields {
public:
    explicit Fields(QStringList nombres) : nombres(std::move(nombres)) {}
    qint32 Count() const { return qint32(nombres.size()); }

private:
    QStringList nombres;
};

// A forward-only recordset: Qt keeps no copy of the rows it has passed. SQLite reads each row when it
// is asked for; the MySQL client library receives a whole result before the first row (about 4 MB
// for the codes and descriptions of 100,000 products).
class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;

    // Runs the statement on the connection. True when it ran: the recordset is then open, with its
    // columns known and the first row (if any) current. On false it stays closed and `error` says why.
    bool abrir(const Connection& conexion, const QString& sql, QString* error = nullptr);

    // ADO's EOF; the name itself is a C library macro.
    bool Eof() const;
    void MoveNext();
    // By column name, without regard to letter case; a name the row does not have gives a null Field.
    Field Fields(const QString& nombre) const;
    Field Fields(qint32 indice) const;
    ado::Fields Fields() const;
    qint32 State() const;
    void Close();
    // Why fetching a row failed, "" when nothing did: a fetch that fails ends the rows early, and only
    // this tells a lost connection from the end of the rows.
    QString Error() const;

private:
    qint32 indiceDe(const QString& nombre) const;

    std::unique_ptr<QSqlQuery> consulta;
    // Column names, read once per statement: the MySQL driver builds a new record on every
    // QSqlQuery::record(), and a field is looked up by name several times per row.
    QStringList columnas;
    QList<QMetaType> tipos;
    QList<bool> decimalesExactos;
    bool alFinal = true;
};

} // namespace ado
