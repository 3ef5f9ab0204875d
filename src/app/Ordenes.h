#pragma once
// The commands that need no window, one road for the desktop program and for its Windows console
// companion: --help, --version, a wrong line, enviar, configurar and the demo's send.

#include "app/LineaDeComandos.h"

#include <QStringList>

// The words after the program's name, read before any application object exists, since the command
// decides which kind to make.
QStringList palabrasDeLaLinea(int argc, char** argv);

// Runs `linea`'s command on the core application that the caller has made; its exit status. Not for
// the desktop program itself, which needs a window.
int ejecutarSinVentana(const LineaDeComandos& linea);

// A command line that cannot be run: what is wrong and the usage, on standard error; its exit status.
int malUso(const QString& error);

// Whether `linea` runs a window: the desktop program, and the demo where windows can be shown (always on
// Windows and macOS; elsewhere when an X11 or Wayland display is named and Qt is not told to draw
// offscreen).
bool conVentana(const LineaDeComandos& linea);
