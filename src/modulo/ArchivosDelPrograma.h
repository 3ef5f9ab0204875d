#pragma once
// The names of the program's own files in its folder, spelled here alone: start-up forms their paths,
// the log and the locks open them, and `configurar` and the configuration tab refuse an export file
// named like any of them, since the first send would write over it.

#include <QDir>
#include <QString>
#include <QStringList>

namespace archivos {

// The settings: the executable's name and ".ini", so that a copy under another name keeps its own.
inline QString ajustes(const QString& nombreDelPrograma) {
    return nombreDelPrograma + QStringLiteral(".ini");
}
inline const QString kProductos = QStringLiteral("ListaProductosReja.dat");
inline const QString kCampos = QStringLiteral("ListaDeCampos.dat");
inline const QString kBitacora = QStringLiteral("catalogo-ftp.log");
// The log's file before the current one, as its rotation names it.
inline const QString kBitacoraAnterior = QStringLiteral("catalogo-ftp.1.log");
inline const QString kCandado = QStringLiteral("catalogo-ftp.lock");
inline const QString kInstancia = QStringLiteral("catalogo-ftp.instancia");
// What the last publication put on the server, for the next send to compare with.
inline const QString kPublicado = QStringLiteral("catalogo-ftp.publicado");
// The executables' extensions on Windows: the desktop program and its console companion.
inline const QString kEscritorioEnWindows = QStringLiteral(".exe");
inline const QString kConsolaEnWindows = QStringLiteral(".com");

// Every file name of the program folder that is the program's own, its executables included.
inline QStringList propios(const QString& nombreDelPrograma) {
    return {ajustes(nombreDelPrograma),
            kProductos,
            kCampos,
            kBitacora,
            kCandado,
            kInstancia,
            kPublicado,
            nombreDelPrograma,
            nombreDelPrograma + kEscritorioEnWindows,
            nombreDelPrograma + kConsolaEnWindows};
}

// `archivo` in `carpeta`.
inline QString en(const QString& carpeta, const QString& archivo) {
    return carpeta + QLatin1Char('/') + archivo;
}

// The template of a send's temporary files (for QTemporaryFile), in the system's temporary folder: they
// are working space, never the shop's.
inline QString temporal() {
    return QDir::tempPath() + QStringLiteral("/catalogo-ftp-XXXXXX");
}

} // namespace archivos
