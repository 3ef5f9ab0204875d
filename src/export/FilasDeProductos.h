#pragma once
// The rows of one query of the export, read the fastest way the database allows: MySQL's and MariaDB's
// with their C client as the server sends them, SQLite's through Qt SQL. Either way a value becomes the
// same text in the export file.

#include "components/LecturaMySQL.h"
#include "winapi/ado.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

class BasesDD;
class NombresPorId;
class TextoDeValor;

class FilasDeProductos {
public:
    FilasDeProductos(BasesDD& bd, ado::Connection& conexion, const TextoDeValor& texto);
    // Runs "SELECT <campos> FROM <fuente>"; false when it could not run (error()).
    bool abrir(const QString& fuente, const QString& campos);
    // The next row, the first after abrir(): false at the end of the rows, and when reading them failed,
    // which error() then tells.
    bool siguiente();
    // Why the query or a row failed; "" when nothing did.
    QString error() const;
    // Stops reading for good, as a send that stops does: a MySQL connection is then closed.
    void abandonar();
    // The value as text: the code and description that the progress shows and a listed code is matched by.
    QString texto(qint32 columna) const;
    // The same as UTF-8, valid until the next row.
    QByteArrayView utf8(qint32 columna) const;
    // The value's text appended to a line of the export file.
    void agregar(qint32 columna, QByteArray& linea) const;
    // The name a reference column's Id stands for, appended likewise.
    void agregarNombre(qint32 columna, const NombresPorId& nombres, QByteArray& linea) const;

private:
    BasesDD& bd;
    ado::Connection& conexion;
    const TextoDeValor& textoDeValor;
    std::optional<LecturaMySQL> mysql; // on a MySQL connection
    ado::Recordset rs;                 // elsewhere
    bool primera = true;
    mutable QByteArray utf8DeQt; // what utf8() hands over on a Qt SQL connection
    QString motivo;
};
