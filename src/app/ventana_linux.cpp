// catalogo-ftp-ventana.so: the desktop program, loaded by catalogo-ftp on Linux when a window is wanted.

#include "app/iniciar.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT int catalogoFtpVentana(int argc, char** argv) {
    return correrEscritorio(argc, argv);
}
