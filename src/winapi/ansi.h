#pragma once
// The ANSI code page of the program's text files and of the strings handed to the FTP server: on
// Windows the system's ANSI code page, elsewhere Windows-1252. A character outside it becomes "?".

#include <QByteArray>
#include <QString>
#include <QStringView>

QByteArray aAnsi(const QString& texto);
// Appends the text, converted, to `destino`: the export file is built this way, line by line.
void agregarAnsi(QByteArray& destino, QStringView texto);
QString desdeAnsi(const QByteArray& bytes);
// A line of a text file that may have been saved either way: UTF-8 when its bytes are valid UTF-8,
// ANSI otherwise.
QString desdeUtf8OAnsi(const QByteArray& bytes);
