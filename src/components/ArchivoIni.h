#pragma once
// A settings (INI) file read and written the way Windows' profile-string functions do it: sections and
// keys are found without regard to letter case, and every other line (comments, blank lines, keys of
// other programs) stays as it was, byte for byte, its line end (CR LF, LF or a CR alone) included. Each
// line is read as UTF-8, or as ANSI when its bytes are not valid UTF-8, so a file saved or touched up by
// Notepad in either encoding reads the same; a line the program writes is ANSI in a file whose accented
// lines are all ANSI, UTF-8 otherwise. Every write replaces the file whole or not at all.

#include <QString>

namespace ini {

// A settings file is a few lines; a larger one is something else saved under its name, and counts as a
// file that cannot be read.
inline constexpr qint64 kMaximo = qint64(4) * 1024 * 1024;

// The value under that key, "" when the file, the section or the key is missing. Blanks around the
// value are not part of it; a value written between quotes loses them. A file that is there but cannot
// be read gives "" too, and `error` says why, naming the file.
QString leer(const QString& archivo, const QString& seccion, const QString& clave, QString* error = nullptr);

// Stores the value, creating the file, the section and the key when missing. A line break in the value
// becomes a space (a value is one line). False when the file cannot be written, or is there but cannot
// be read (replacing it would lose what it holds): `error` says why.
bool escribir(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor,
              QString* error = nullptr);

} // namespace ini
