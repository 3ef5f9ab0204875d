#include "modulo/Rutinas.h"

#include <cstdio>

namespace {

CajaDelSistema& cajaRegistrada() {
    static CajaDelSistema caja;
    return caja;
}

} // namespace

void ponerCajaDelSistema(CajaDelSistema caja) {
    cajaRegistrada() = std::move(caja);
}

// Without a window registered, the text goes to standard error and the answer is a refusal: No to a
// question, OK to a notice.
quint8 MsgBoxDelSistema(const QString& texto, qint32 estilo, const QString& titulo) {
    if (cajaRegistrada())
        return cajaRegistrada()(texto, estilo, titulo);
    std::fprintf(stderr, "%s: %s\n", qUtf8Printable(titulo), qUtf8Printable(texto));
    return (estilo & 0xF) == estilo::vbYesNo ? estilo::vbNo : estilo::vbOK;
}
