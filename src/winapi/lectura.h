#pragma once
// Reading a whole file, telling "not there" from "there but cannot be read". Every file the program
// reads goes through here: a missing file gets its documented default, while one that is there but
// cannot be read (no permission, a folder in its place, too large to be what it should be) must stop
// whatever needed it and say why; read as empty it would pass for a shop that chose nothing, and the
// next write would replace it. On Windows a file held by another program for a moment (an antivirus,
// a backup) is tried again for a while before it counts as unreadable.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace lectura {

enum class Estado { ausente, ilegible, leido };

// Larger files are refused as unreadable: no file of the program comes near it, and reading a stray
// huge one whole would take the memory of the machine.
inline constexpr qint64 kMaximo = qint64(256) * 1024 * 1024;

// Reads the whole file into `bytes`: absent when neither it nor its folder exists; unreadable when it
// is there but cannot be read, and then `error` says why in the system's words.
Estado leer(const QString& ruta, QByteArray& bytes, QString* error, qint64 maximo = kMaximo);

// The same, the file handed over a block at a time as it is read, for a file too large to hold whole.
// `desde`: where the block lies in the file; 0 again when a try cut short is made again.
using Parte = std::function<void(qint64 desde, QByteArrayView bloque)>;
Estado leerEnPartes(const QString& ruta, const Parte& parte, QString* error, qint64 maximo = kMaximo);

// "no se puede leer <ruta>: <porQue>", the words for a file that leer() found unreadable.
QString noSePuedeLeer(const QString& ruta, const QString& porQue);

} // namespace lectura
