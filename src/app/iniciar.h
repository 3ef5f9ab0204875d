#pragma once
// The start of the desktop program: everything up to the loaded main window, which is then hidden in
// the notification area (or shown, when nothing is configured or "-ktfa" is given). The program itself
// and the tests take this one road.

class QWidget;
struct LineaDeComandos;

// `linea`: the command line of the desktop program (its folder and "-ktfa"). The loaded
// main window (a frmInicial, owned by the caller), or null when start-up ended the program: the
// point-of-sale installation was not found, or a component could not be created; the user has been
// told why.
QWidget* iniciar(const LineaDeComandos& linea);

// Runs the desktop program on an application object that already exists: start-up through iniciar(),
// then the event loop until the window unloads. Its exit status: salida::kSinArranque when start-up ended the
// program.
int ejecutarEscritorio(const LineaDeComandos& linea);

// `catalogo-ftp demo` where there is a display: the demo's send, then the sample shop's window, shown,
// so that a newcomer can press "Enviar ahora" and watch the countdown.
int demoConVentana(const LineaDeComandos& linea);

// The desktop program's whole run from its command line, which it answers whole: the window, and every
// command too, so that a scheduled task or a script that calls the windowed program directly works as
// the console one does. Its exit status.
int correrEscritorio(int argc, char** argv);
