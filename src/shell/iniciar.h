#pragma once
// The start of the desktop program: everything up to the loaded main window, which is then hidden in
// the notification area (or shown, when nothing is configured or "-ktfa" is given). The program itself
// and the tests take this one road.

#include <QStringList>

class QWidget;

// `argumentos`: the command line without the program itself ("-ktfa", "--carpeta DIR"). The loaded
// main window (a frmInicial, owned by the caller), or null when start-up ended the program: the
// point-of-sale installation was not found, or a component could not be created; the user has been
// told why.
QWidget* iniciar(const QStringList& argumentos);
