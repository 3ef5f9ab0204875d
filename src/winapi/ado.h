#pragma once
// ADO's Connection and Recordset over Qt SQL, in ADO's own vocabulary, so that the code that reads
// products reads like the point-of-sale's own code: rs.EOF(), rs.MoveNext(), rs.Fields("Clave").Value().

#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <memory>

namespace ado {

// adStateClosed / adStateOpen, as ADO reports them.
inline constexpr qint32 adStateClosed = 0;
inline constexpr qint32 adStateOpen = 1;

class Connection {
public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;
    ~Connection();

    // Takes over a Qt SQL connection that is already open (the database component opens it).
    void adoptar(const QString& nombreConexion);
    QString nombreConexion() const { return nombre; }

    qint32 State() const;
    void Close();

private:
    QString nombre;
};

class Field {
public:
    Field(QString nombre, QVariant valor) : nombre(std::move(nombre)), valor(std::move(valor)) {}
    const QString& Name() const { return nombre; }
    const QVariant& Value() const { return valor; }

private:
    QString nombre;
    QVariant valor;
};

class Fields {
public:
    explicit Fields(const QSqlRecord& registro) : registro(registro) {}
    qint32 Count() const { return registro.count(); }

private:
    QSqlRecord registro;
};

// A forward-only recordset: rows are read one at a time and never all held in memory.
class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    Recordset(Recordset&&) noexcept = default;
    Recordset& operator=(Recordset&&) noexcept = default;

    // Runs the statement on the connection; true when it ran, and then the first row (if any) is current.
    bool abrir(const Connection& conexion, const QString& sql);

    // ADO's EOF; the name itself is a C library macro.
    bool Eof() const;
    void MoveNext();
    // By column name, without regard to letter case; a name the row does not have gives a null Field.
    Field Fields(const QString& nombre) const;
    Field Fields(qint32 indice) const;
    ado::Fields Fields() const;
    qint32 State() const;
    void Close();

private:
    std::unique_ptr<QSqlQuery> consulta;
    bool alFinal = true;
};

} // namespace ado
