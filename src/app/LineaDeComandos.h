#pragma once
// The command line, read once: which command runs, the program folder given with --carpeta, "-ktfa",
// and the words `configurar` reads itself. main() reads it and hands it to the command that runs.

#include <QString>
#include <QStringList>
#include <optional>

struct LineaDeComandos {
    enum class Orden { Escritorio, Enviar, Configurar, Demo, Ayuda, Version };
    Orden orden = Orden::Escritorio;
    QString carpeta;      // after --carpeta; "" for the executable's own folder
    bool ktfa = false;    // "-ktfa" anywhere on the line: the desktop program shows its window
    bool forzar = false;  // `enviar --forzar`: upload whatever the catalogue is
    QStringList opciones; // what follows "configurar", --carpeta taken out
};

// `argumentos`: the command line without the program itself. None when it is wrong: `error` says what
// is wrong, for the user.
std::optional<LineaDeComandos> leerLineaDeComandos(const QStringList& argumentos, QString* error = nullptr);

// Every command with its options and exit statuses, as --help prints it.
QString textoDeUso();
// "catalogo-ftp 1.0.0".
QString textoDeVersion();
