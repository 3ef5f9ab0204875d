#pragma once
// Text a person typed or piped into the program's standard input.

#include <QByteArray>
#include <QString>

namespace consola {

// The bytes as UTF-8 when they are valid UTF-8; otherwise in the code page they were most likely
// written in: at a Windows console, the console's own (cmd's OEM code page, 850 in Spain, not the
// ANSI one); from a file or a pipe, and elsewhere, the ANSI code page, as the settings file is read.
QString desdeLaEntrada(const QByteArray& bytes);

} // namespace consola
