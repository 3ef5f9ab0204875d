#include "export/FilasDeProductos.h"

#include "components/BasesDD.h"
#include "export/Referencias.h"
#include "export/TextoDeValor.h"
#include "winapi/ansi.h"

FilasDeProductos::FilasDeProductos(BasesDD& bd, ado::Connection& conexion, const TextoDeValor& texto)
    : bd(bd), conexion(conexion), textoDeValor(texto) {
    if (LecturaMySQL::admite(conexion))
        mysql.emplace(conexion);
}

bool FilasDeProductos::abrir(const QString& fuente, const QString& campos) {
    if (mysql) {
        const bool abierta =
            mysql->abrir(QStringLiteral("SELECT ") + campos + QStringLiteral(" FROM ") + fuente);
        motivo = mysql->error();
        return abierta;
    }
    primera = true;
    bd.AbrirTabla(rs, conexion, fuente, campos);
    // No rows leaves the recordset open; a statement that failed leaves it closed.
    motivo = rs.State() == ado::adStateOpen ? QString() : bd.cError;
    return motivo.isEmpty();
}

bool FilasDeProductos::siguiente() {
    if (mysql) {
        const bool hay = mysql->siguiente();
        motivo = mysql->error();
        return hay;
    }
    if (!primera)
        rs.MoveNext();
    primera = false;
    if (rs.Eof() && rs.State() == ado::adStateOpen)
        motivo = rs.Error();
    return !rs.Eof();
}

QString FilasDeProductos::error() const {
    return motivo;
}

void FilasDeProductos::abandonar() {
    if (mysql)
        mysql->abandonar();
    rs.Close();
}

QString FilasDeProductos::texto(qint32 columna) const {
    if (mysql) {
        const ValorMySQL valor = mysql->valor(columna);
        return valor.datos ? QString::fromUtf8(valor.bytes()) : QString();
    }
    return rs.Fields(columna).Value().toString();
}

QByteArrayView FilasDeProductos::utf8(qint32 columna) const {
    if (mysql)
        return mysql->valor(columna).bytes();
    utf8DeQt = texto(columna).toUtf8();
    return utf8DeQt;
}

void FilasDeProductos::agregar(qint32 columna, QByteArray& linea) const {
    if (mysql)
        textoDeValor.agregar(linea, mysql->valor(columna));
    else
        agregarAnsi(linea, textoDeValor(rs.Fields(columna)));
}

void FilasDeProductos::agregarNombre(qint32 columna, const NombresPorId& nombres, QByteArray& linea) const {
    if (!mysql) {
        agregarAnsi(linea, nombres(rs.Fields(columna).Value()));
        return;
    }
    const ValorMySQL valor = mysql->valor(columna);
    const std::optional<qint64> id = valor.entero();
    agregarAnsi(linea, id ? nombres(*id) : nombres(comoQtSql(valor)));
}
