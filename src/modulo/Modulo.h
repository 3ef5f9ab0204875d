#pragma once
// The program's module-level state: the shared components, the paths of its files, the settings
// in memory and the one shared database connection. It lives from start-up to unload.

#include "components/BasesDD.h"
#include "components/DeArchivos.h"
#include "components/DeControles.h"
#include "components/DeEquipo.h"
#include "components/DelRegistro.h"
#include "components/LibKtfa.h"
#include "components/Utilerias.h"
#include "winapi/ado.h"

#include <QString>
#include <QStringList>
#include <memory>

class QObject;

struct Modulo {
    // Shared components, created at start-up in this order and released at unload.
    std::unique_ptr<LibKtfa> oKtfa;
    std::unique_ptr<BasesDD> oBasesDD;
    std::unique_ptr<DeEquipo> oEquipo;
    std::unique_ptr<Utilerias> oUtilerias;
    std::unique_ptr<DeArchivos> oArchivos;
    std::unique_ptr<DelRegistro> oRegistro;
    std::unique_ptr<DeControles> oControles;

    QString cCarpeta; // program folder, never ending with a separator
    QString cNombre;  // executable name without extension ("catalogo-ftp")
    QString cArchivoINI;
    QString cArchivoProductos;
    QString cArchivoCampos;
    QString cSeparador = QStringLiteral(" - ");
    QString cVersion;

    QString cArchivoFTP;
    QString cUsuarioFTP;
    QString cClaveFTP;
    QString cURLFTP;
    QString cDirectorioFTP; // always ends with "/" once read
    qint16 nIntervalo = 0;  // minutes; below 1 nothing is sent automatically
    // Enciphered settings that hold a value this user's key cannot open (written by another user, or
    // on another computer), by name: a send names them instead of failing on an empty value.
    QStringList cIlegibles;

    ado::Connection oConexion;

    // The main window, owner of the message boxes; null in a program without windows.
    QObject* frmInicial = nullptr;
};

Modulo& modulo();

// Back to a fresh state (components released), as a new process would start. For tests and `demo`.
void reiniciarModulo();
