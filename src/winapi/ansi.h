#pragma once
// The ANSI code page of the program's text files and of the strings handed to the FTP server: on
// Windows the system's ANSI code page, elsewhere Windows-1252. A character outside it becomes "?".

#include <QByteArray>
#include <QString>

QByteArray aAnsi(const QString& texto);
QString desdeAnsi(const QByteArray& bytes);
