#pragma once
// The script host's shell object (ProgID "WScript.Shell"), for the one thing the program asks of it:
// reading and writing its value under the current user's Run key, so that it starts at logon.
// On Windows that is the registry itself. Elsewhere the Run key is the XDG autostart folder
// (~/.config/autostart): the value "<name>" or "<name>.exe" is the entry <name>.desktop, whose
// command (Exec) holds the value's data.

#include "components/Componente.h"

#include <QString>

class WScriptShell : public Componente {
public:
    // The data of a value given by its full path ("HKEY_CURRENT_USER\...\Run\catalogo-ftp.exe", or
    // "HKCU\..."); "" when it is missing or cannot be read, or lies under another key.
    QString RegRead(const QString& nombre);
    // Writes a plain text value; false when it cannot (no access, another key).
    bool RegWrite(const QString& nombre, const QString& valor);
};

// Registers the ProgID "WScript.Shell".
void registrarShellDeScripts();

// Where the Run key's values live away from Windows: the folder of autostart entries.
QString carpetaDeInicioAutomatico();
