#pragma once
// Reading and writing the files a test prepares or looks at, without failing the test itself: the
// caller asserts on what it gets. Free of GoogleTest, so the benchmarks use them too.

#include <QByteArray>
#include <QString>

// Writes `bytes` to the file at `ruta`, making its folder; a null pointer removes the file instead.
void escribirArchivo(const QString& ruta, const char* bytes);
void escribirArchivo(const QString& ruta, const QByteArray& bytes);
// The file's bytes, or `siFalta` when it cannot be read.
QByteArray leerArchivo(const QString& ruta, const QByteArray& siFalta = QByteArray());
