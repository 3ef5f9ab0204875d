#pragma once
// Finds the point-of-sale installation named in the settings file and hands the database component
// the MySQL server, port, user, password and (when `leerBase`) database name to connect with,
// completing the point-of-sale's own MySQL settings that are missing. When the installation is not
// found it explains so, offers to open the settings file, and answers false: the program ends.

#include <QString>

class LibKtfa;
class DelRegistro;
class BasesDD;

bool ConexionQ7K(LibKtfa& ktfa, DelRegistro& registro, BasesDD& bases, const QString& cArchivoINI,
                 bool leerBase);
