#pragma once
// A query read with the MariaDB C client on the session of an open Qt MySQL connection (so with its
// server, user, character set and time-outs), row after row as the server sends them, each value as
// the bytes it sent. The export reads the catalogue this way: Qt SQL receives a whole result before its
// first row and makes a QVariant of every value and a QString of every text, which cost more than all
// the rest of a send.

#include "winapi/ado.h"

#include <QByteArrayView>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

struct st_mysql;
struct st_mysql_res;

// One value of a row: its bytes (none for NULL) and its column's type as Qt SQL declares it.
struct ValorMySQL {
    const char* datos = nullptr; // nullptr: NULL
    qsizetype largo = 0;
    QMetaType tipo;
    bool decimalExacto = false; // DECIMAL: the text is the exact value
    QByteArrayView bytes() const { return {datos, largo}; }
    // The number, when the server wrote a plain whole number of at most 15 digits ("-" its only sign, no
    // leading zero), as it writes every integer column's value but a zero-filled one; exact as a double.
    std::optional<qint64> entero() const;
};

// The QVariant Qt SQL makes of that value, the way MySQL has always been read by this program.
QVariant comoQtSql(const ValorMySQL& valor);

class LecturaMySQL {
public:
    // True when the connection is open to MySQL or MariaDB, so that it can be read this way.
    static bool admite(const ado::Connection& conexion);

    explicit LecturaMySQL(const ado::Connection& conexion);
    ~LecturaMySQL();
    LecturaMySQL(const LecturaMySQL&) = delete;
    LecturaMySQL& operator=(const LecturaMySQL&) = delete;

    // Runs the statement. False, with error() and a line in the log, when it could not run.
    bool abrir(const QString& sql);
    // The next row, the first after abrir(): false at the end of the rows, and when the server stopped
    // sending them (a lost connection, the read time-out), which error() then tells.
    bool siguiente();
    ValorMySQL valor(qint32 columna) const;
    // Why the statement or a row failed, in the server's words; "" when nothing did.
    QString error() const { return motivo; }
    // Gives the result back, reading what the server still had to send, so that the session is free for
    // the next statement.
    void cerrar();
    // Ends the session instead, for a send that stops: the rest of a catalogue would take seconds to
    // read, minutes over a slow line.
    void abandonar();

private:
    st_mysql* sesion = nullptr;
    st_mysql_res* resultado = nullptr;
    char** fila = nullptr;
    unsigned long* largos = nullptr;
    std::vector<QMetaType> tipos;
    std::vector<bool> exactos;
    QString motivo;
};
