#pragma once
// The benchmarks' point-of-sale database on the local MariaDB server (root, no password): made afresh
// with the sample catalogue, dropped at the end.

#include <QString>

// Drops and creates database `nombre` with products 1 to `productos` of the sample catalogue; false,
// with the reason on standard error, when it cannot.
bool prepararBase(const QString& nombre, qint32 productos);
void borrarBase(const QString& nombre);
