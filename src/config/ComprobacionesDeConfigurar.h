#pragma once
// What `configurar` checks before it writes settings that could destroy data or give a secret away.

#include "config/Configuracion.h"

#include <QString>
#include <optional>

// The password typed after a prompt, without echo, when standard input is a terminal; else the first
// line of standard input. Nothing when no line could be read. The password then never appears in the
// process list, as a value of --contrasena would.
std::optional<QString> leerContrasenaDeLaEntrada();

// Whether the password travels in clear to that target: plain FTP ("ftp://" or a bare host), not
// "ftps://" nor a local folder.
bool contrasenaEnClaro(const QString& url);

// Whether these boxes may be saved. Not, and `error` says why: an export file named like a file of the
// program (it would be overwritten by the first send), or a local publishing folder that is the program
// folder (the upload would replace the export file by itself).
bool sePuedenGrabar(const CajasDeConfiguracion& cajas, const QString& carpetaDelPrograma,
                    const QString& nombreDelPrograma, QString* error);
