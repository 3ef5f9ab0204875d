#pragma once
// The program's log: <program folder>/catalogo-ftp.log, rotating at 1 MB with three files in all.
// Code logs through spdlog's default logger (spdlog::info, spdlog::error, ...). Never log a password,
// a key, or a value that is stored enciphered.

#include <QString>

// Sends the log to that folder from now on; when the file cannot be opened, to standard error.
void iniciarBitacora(const QString& carpeta);
