#pragma once
// Text that goes into SQL: names as identifiers and product codes as literals, quoted by the
// database's own driver, so a code with a quote or a backslash is data and never SQL.

#include "winapi/ado.h"

#include <QString>

QString identificadorSql(const ado::Connection& conexion, const QString& nombre);
QString literalSql(const ado::Connection& conexion, const QString& texto);
