#include "winapi/ado.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <atomic>

namespace ado {

QString nuevoNombreDeConexion(const QString& prefijo) {
    static std::atomic<quint64> ultimo = 0;
    return prefijo + QLatin1Char('-') + QString::number(++ultimo);
}

Connection::Connection(Connection&& otra) noexcept : nombre(std::exchange(otra.nombre, QString())) {}

Connection& Connection::operator=(Connection&& otra) noexcept {
    if (this != &otra) {
        Close();
        nombre = std::exchange(otra.nombre, QString());
    }
    return *this;
}

Connection::~Connection() {
    Close();
}

void Connection::adoptar(const QString& nombreConexion) {
    Close();
    nombre = nombreConexion;
}

QSqlDatabase Connection::baseDeDatos() const {
    return nombre.isEmpty() ? QSqlDatabase() : QSqlDatabase::database(nombre, false);
}

qint32 Connection::State() const {
    return baseDeDatos().isOpen() ? adStateOpen : adStateClosed;
}

void Connection::Close() {
    if (nombre.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(nombre, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(nombre);
    nombre.clear();
}

bool Recordset::abrir(const Connection& conexion, const QString& sql, QString* error) {
    Close();
    const QSqlDatabase db = conexion.baseDeDatos();
    if (!db.isOpen()) {
        if (error)
            *error = QStringLiteral("la conexión está cerrada");
        return false;
    }
    auto nueva = std::make_unique<QSqlQuery>(db);
    nueva->setForwardOnly(true);
    if (!nueva->exec(sql)) {
        if (error)
            *error = nueva->lastError().text();
        return false;
    }
    consulta = std::move(nueva);
    const QSqlRecord registro = consulta->record();
    // The MySQL driver gives a column's own type code: DECIMAL (0) and NEWDECIMAL (246), which it
    // declares as doubles like DOUBLE and FLOAT.
    const bool mysql = db.driver()->dbmsType() == QSqlDriver::MySqlServer;
    columnas.reserve(registro.count());
    tipos.reserve(registro.count());
    decimalesExactos.reserve(registro.count());
    for (qint32 i = 0; i < registro.count(); ++i) {
        const QSqlField campo = registro.field(i);
        columnas.append(campo.name());
        tipos.append(campo.metaType());
        decimalesExactos.append(mysql && (campo.typeID() == 0 || campo.typeID() == 246));
    }
    alFinal = !consulta->next();
    return true;
}

bool Recordset::Eof() const {
    return alFinal;
}

void Recordset::MoveNext() {
    if (consulta && !alFinal)
        alFinal = !consulta->next();
}

qint32 Recordset::indiceDe(const QString& nombre) const {
    // Qt folds case one UTF-16 unit at a time, so names of another length never match: that test
    // skips most columns cheaply, and this runs for every field of every row.
    for (qint32 i = 0; i < columnas.size(); ++i)
        if (columnas.at(i).size() == nombre.size() &&
            columnas.at(i).compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Field Recordset::Fields(const QString& nombre) const {
    const qint32 indice = indiceDe(nombre);
    if (indice < 0)
        return {nombre, QVariant()};
    return Fields(indice);
}

Field Recordset::Fields(qint32 indice) const {
    if (indice < 0 || indice >= columnas.size())
        return {QString(), QVariant()};
    return {columnas.at(indice), alFinal ? QVariant() : consulta->value(indice), tipos.at(indice),
            decimalesExactos.at(indice)};
}

ado::Fields Recordset::Fields() const {
    return ado::Fields(columnas);
}

qint32 Recordset::State() const {
    return consulta ? adStateOpen : adStateClosed;
}

QString Recordset::Error() const {
    return consulta && consulta->lastError().isValid() ? consulta->lastError().text() : QString();
}

void Recordset::Close() {
    consulta.reset();
    columnas.clear();
    tipos.clear();
    decimalesExactos.clear();
    alFinal = true;
}

} // namespace ado
