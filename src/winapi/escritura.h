#pragma once
// Writing a whole buffer to a file, with the system's reason when it cannot. A write cut short by a full
// disk or a file size limit writes what fits and reports no error, so Qt says "Unknown error"; only the
// next try meets the error itself, so it is made, to say why.

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <functional>

namespace escritura {

// Writes `bytes` and flushes them to the system (a write that fails as the buffer goes to disk shows
// there). False when they could not all be written: `error` then holds the system's reason.
bool escribirTodo(QFileDevice& archivo, const QByteArray& bytes, QString* error);

// Replaces the file at `ruta` with `bytes` whole: written aside and renamed over it, so that a full disk
// or a crash half-way keeps the old file. `error`: "no se puede escribir <ruta>: <why>".
bool reemplazar(const QString& ruta, const QByteArray& bytes, QString* error);
// The same for a file written a part at a time: `escribir` writes it all to the file it is given (with
// escribirTodo), or says why not.
using Escritor = std::function<bool(QFileDevice& archivo, QString* error)>;
bool reemplazar(const QString& ruta, const Escritor& escribir, QString* error);

} // namespace escritura
