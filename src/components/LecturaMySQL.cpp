#include "components/LecturaMySQL.h"

#include <QDateTime>
#include <QSqlDriver>
#include <mysql.h>
#include <spdlog/spdlog.h>

namespace {

// The type Qt SQL's MySQL driver declares for a column, so that a value read here becomes the same text
// as one read through Qt SQL.
QMetaType tipoDeQt(const MYSQL_FIELD& campo) {
    const bool sinSigno = (campo.flags & UNSIGNED_FLAG) != 0;
    switch (campo.type) {
    case MYSQL_TYPE_TINY:
        return QMetaType(sinSigno ? QMetaType::UChar : QMetaType::Char);
    case MYSQL_TYPE_SHORT:
        return QMetaType(sinSigno ? QMetaType::UShort : QMetaType::Short);
    case MYSQL_TYPE_LONG:
    case MYSQL_TYPE_INT24:
        return QMetaType(sinSigno ? QMetaType::UInt : QMetaType::Int);
    case MYSQL_TYPE_YEAR:
        return QMetaType(QMetaType::Int);
    case MYSQL_TYPE_LONGLONG:
        return QMetaType(sinSigno ? QMetaType::ULongLong : QMetaType::LongLong);
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        return QMetaType(QMetaType::Double);
    case MYSQL_TYPE_DATE:
        return QMetaType(QMetaType::QDate);
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_TIMESTAMP:
        return QMetaType(QMetaType::QDateTime);
    case MYSQL_TYPE_STRING:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_BLOB:
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_GEOMETRY:
        return QMetaType((campo.flags & BINARY_FLAG) != 0 ? QMetaType::QByteArray : QMetaType::QString);
    default: // TIME (which may pass 24 hours), ENUM, SET, BIT and the rest: their text
        return QMetaType(QMetaType::QString);
    }
}

MYSQL* sesionDe(const ado::Connection& conexion) {
    const QSqlDatabase db = conexion.baseDeDatos();
    if (!db.isOpen() || db.driver()->dbmsType() != QSqlDriver::MySqlServer)
        return nullptr;
    const QVariant sesion = db.driver()->handle();
    return sesion.metaType() == QMetaType::fromType<MYSQL*>() ? sesion.value<MYSQL*>() : nullptr;
}

} // namespace

std::optional<qint64> ValorMySQL::entero() const {
    const char* c = datos;
    const char* fin = datos + largo;
    const bool negativo = c != fin && *c == '-';
    c += negativo ? 1 : 0;
    if (c == fin || fin - c > 15 || (*c == '0' && fin - c > 1) || (negativo && *c == '0'))
        return std::nullopt;
    qint64 numero = 0;
    for (; c != fin; ++c) {
        if (*c < '0' || *c > '9')
            return std::nullopt;
        numero = numero * 10 + (*c - '0');
    }
    return negativo ? -numero : numero;
}

QVariant comoQtSql(const ValorMySQL& valor) {
    if (valor.datos == nullptr)
        return QVariant(valor.tipo);
    if (valor.tipo.id() == QMetaType::QByteArray)
        return QByteArray(valor.datos, valor.largo);
    QString texto = QString::fromUtf8(valor.bytes());
    switch (valor.tipo.id()) {
    case QMetaType::LongLong:
        return texto.toLongLong();
    case QMetaType::ULongLong:
        return texto.toULongLong();
    case QMetaType::Char:
    case QMetaType::Short:
    case QMetaType::Int:
        return texto.toInt();
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
        return texto.toUInt();
    case QMetaType::QDate:
        return texto.isEmpty() ? QDate() : QDate::fromString(texto, Qt::ISODate);
    case QMetaType::QDateTime:
        if (texto.isEmpty())
            return QDateTime();
        if (texto.size() == 14) // an old TIMESTAMP: yyyyMMddhhmmss
            texto.insert(4, u'-').insert(7, u'-').insert(10, u'T').insert(13, u':').insert(16, u':');
        return QDateTime::fromString(texto, Qt::ISODate);
    default: // text, and numbers with a fraction as the server writes them
        return texto;
    }
}

bool LecturaMySQL::admite(const ado::Connection& conexion) {
    return sesionDe(conexion) != nullptr;
}

LecturaMySQL::LecturaMySQL(const ado::Connection& conexion) : sesion(sesionDe(conexion)) {}

LecturaMySQL::~LecturaMySQL() {
    cerrar();
}

bool LecturaMySQL::abrir(const QString& sql) {
    cerrar();
    motivo.clear();
    const QByteArray texto = sql.toUtf8();
    if (sesion == nullptr)
        motivo = QStringLiteral("la conexión está cerrada");
    else if (mysql_real_query(sesion, texto.constData(), static_cast<unsigned long>(texto.size())) != 0 ||
             (resultado = mysql_use_result(sesion)) == nullptr)
        motivo = QString::fromUtf8(mysql_error(sesion));
    if (!motivo.isEmpty()) {
        spdlog::error("No se pudo leer la base de datos ({}): {}", texto.toStdString(), motivo.toStdString());
        return false;
    }
    const unsigned int columnas = mysql_num_fields(resultado);
    const MYSQL_FIELD* campos = mysql_fetch_fields(resultado);
    for (unsigned int i = 0; i < columnas; ++i) {
        tipos.push_back(tipoDeQt(campos[i]));
        exactos.push_back(campos[i].type == MYSQL_TYPE_DECIMAL || campos[i].type == MYSQL_TYPE_NEWDECIMAL);
    }
    return true;
}

bool LecturaMySQL::siguiente() {
    if (resultado == nullptr)
        return false;
    fila = mysql_fetch_row(resultado);
    if (fila == nullptr) {
        // The end of the rows, or a server that stopped sending them: only the session can tell.
        if (mysql_errno(sesion) != 0)
            motivo = QString::fromUtf8(mysql_error(sesion));
        return false;
    }
    largos = mysql_fetch_lengths(resultado);
    return true;
}

ValorMySQL LecturaMySQL::valor(qint32 columna) const {
    const auto i = static_cast<std::size_t>(columna);
    if (fila == nullptr || i >= tipos.size())
        return {};
    return {fila[i], static_cast<qsizetype>(largos[i]), tipos[i], exactos[i]};
}

void LecturaMySQL::abandonar() {
    if (resultado != nullptr)
        mariadb_cancel(sesion);
    cerrar();
}

void LecturaMySQL::cerrar() {
    if (resultado != nullptr)
        mysql_free_result(resultado);
    resultado = nullptr;
    fila = nullptr;
    largos = nullptr;
    tipos.clear();
    exactos.clear();
}
