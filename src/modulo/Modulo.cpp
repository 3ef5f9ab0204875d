#include "modulo/Modulo.h"

Modulo& modulo() {
    static Modulo estado;
    return estado;
}

void reiniciarModulo() {
    modulo() = Modulo();
}
