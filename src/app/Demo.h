#pragma once
// `catalogo-ftp demo [--carpeta DIR]`: everything embedded. A sample point-of-sale installation with a
// SQLite catalogue, a local folder as the publishing target, a settings file that points at both,
// one send, and the path and first lines of the published file.

#include <QString>

struct LineaDeComandos;

// Lays out the sample shop in `carpeta`, keeping whatever is already there: vendalia/ (Q7K.ini and
// datos1.sqlite), sitio-ftp/catalogo/ (the "FTP" folder) and the settings file. False and `error`
// when something cannot be written.
bool prepararDemo(const QString& carpeta, QString* error);

// Where the demo publishes its file.
QString archivoPublicadoDeDemo(const QString& carpeta);

// `linea`: a command line whose command is "demo". Exit status as `enviar`'s.
int ComandoDemo(const LineaDeComandos& linea);
