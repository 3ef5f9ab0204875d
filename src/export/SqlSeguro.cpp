#include "export/SqlSeguro.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlField>

namespace {
QSqlDriver* driverDe(const ado::Connection& conexion) {
    return QSqlDatabase::database(conexion.nombreConexion(), false).driver();
}
} // namespace

QString identificadorSql(const ado::Connection& conexion, const QString& nombre) {
    return driverDe(conexion)->escapeIdentifier(nombre, QSqlDriver::FieldName);
}

QString literalSql(const ado::Connection& conexion, const QString& texto) {
    QSqlField campo(QString(), QMetaType(QMetaType::QString));
    campo.setValue(texto);
    return driverDe(conexion)->formatValue(campo);
}
