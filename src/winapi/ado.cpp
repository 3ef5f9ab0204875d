#include "winapi/ado.h"

#include <QSqlDatabase>
#include <QSqlField>

namespace ado {

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

qint32 Connection::State() const {
    return !nombre.isEmpty() && QSqlDatabase::database(nombre, false).isOpen() ? adStateOpen : adStateClosed;
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

bool Recordset::abrir(const Connection& conexion, const QString& sql) {
    Close();
    if (conexion.State() != adStateOpen)
        return false;
    consulta = std::make_unique<QSqlQuery>(QSqlDatabase::database(conexion.nombreConexion(), false));
    consulta->setForwardOnly(true);
    if (!consulta->exec(sql)) {
        consulta.reset();
        return false;
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

Field Recordset::Fields(const QString& nombre) const {
    if (!consulta)
        return {nombre, QVariant()};
    const QSqlRecord registro = consulta->record();
    const int indice = registro.indexOf(nombre); // Qt compares field names without regard to case
    if (indice < 0)
        return {nombre, QVariant()};
    return {registro.fieldName(indice), alFinal ? QVariant() : consulta->value(indice)};
}

Field Recordset::Fields(qint32 indice) const {
    if (!consulta)
        return {QString(), QVariant()};
    const QSqlRecord registro = consulta->record();
    return {registro.fieldName(indice), alFinal ? QVariant() : consulta->value(indice)};
}

ado::Fields Recordset::Fields() const {
    return ado::Fields(consulta ? consulta->record() : QSqlRecord());
}

qint32 Recordset::State() const {
    return consulta ? adStateOpen : adStateClosed;
}

void Recordset::Close() {
    consulta.reset();
    alFinal = true;
}

} // namespace ado
