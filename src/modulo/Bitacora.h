#pragma once
// The program's log: <program folder>/catalogo-ftp.log, rotating at 1 MB with three files in all.
// Code logs through spdlog's default logger (spdlog::info, spdlog::error, ...). Never log a password,
// a key, or a value that is stored enciphered.

#include <QDateTime>
#include <QString>
#include <optional>

// Sends the log to that folder from now on; when the file cannot be opened, to standard error.
void iniciarBitacora(const QString& carpeta);

// A line of the log as iniciarBitacora lays it out: its time (to the second) and its message.
struct LineaDeBitacora {
    QDateTime cuando;
    QString mensaje;
};
// The parts of `linea` (without its line end); none for a line of another form, such as the second
// line of a message that has two.
std::optional<LineaDeBitacora> leerLineaDeBitacora(const QString& linea);
