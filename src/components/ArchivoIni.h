#pragma once
// A settings (INI) file read and written the way Windows' profile-string functions do it: sections and
// keys are found without regard to letter case, and every other line (comments, blank lines, keys of
// other programs) stays as it was. The file is written in UTF-8; it is read as UTF-8, or as ANSI when
// its bytes are not valid UTF-8, so a file saved by Notepad in either encoding reads the same.

#include <QString>

namespace ini {

// The value under that key, "" when the file, the section or the key is missing. Blanks around the
// value are not part of it; a value written between quotes loses them.
QString leer(const QString& archivo, const QString& seccion, const QString& clave);

// Stores the value, creating the file, the section and the key when missing. A line break in the value
// becomes a space (a value is one line). False when the file cannot be written.
bool escribir(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor);

} // namespace ini
