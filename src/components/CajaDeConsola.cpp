#include "components/CajaDeConsola.h"

#include <QTextStream>

namespace {

// The button of each button set that says no: OK, Cancel, Abort, Cancel, No, Cancel, Cancel.
quint8 respuestaDeRechazo(qint32 estilo) {
    switch (estilo & 0x0F) {
    case 2: // abort, retry, ignore
        return 3;
    case 4: // yes, no
        return 7;
    case 1: // OK, cancel
    case 3: // yes, no, cancel
    case 5: // retry, cancel
    case 6: // cancel, try again, continue
        return 2;
    default:
        return 1;
    }
}

} // namespace

quint8 cajaDeConsola(const QString& texto, qint32 estilo, const QString& titulo) {
    QString lineas = texto;
    lineas.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lineas.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QTextStream(stderr) << titulo << ": " << lineas << '\n';
    return respuestaDeRechazo(estilo);
}
