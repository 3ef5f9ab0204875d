#include "app/iniciar.h"

// catalogo-ftp.exe, the desktop program on Windows.
int main(int argc, char** argv) {
    return correrEscritorio(argc, argv);
}
