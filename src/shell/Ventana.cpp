#include "shell/Ventana.h"

#include "modulo/Modulo.h"
#include "shell/Formulario.h"

#include <cmath>
#include <optional>

namespace {
QString seccionDe(const Formulario& forma) {
    return forma.Tag.trimmed().isEmpty() ? forma.objectName().trimmed() : forma.Tag;
}

// A number as a 16-bit integer, rounded half to even; nothing when it does not fit.
std::optional<qint16> enteroCorto(double valor) {
    const double redondeado = std::nearbyint(valor);
    if (!std::isfinite(redondeado) || redondeado < -32768.0 || redondeado > 32767.0)
        return std::nullopt;
    return qint16(redondeado);
}

// A text as a 16-bit integer: blanks around it are allowed, anything else that is not a number fails
// (an empty text too).
std::optional<qint16> enteroCorto(const QString& texto) {
    bool esNumero = false;
    const double valor = texto.trimmed().toDouble(&esNumero);
    return esNumero ? enteroCorto(valor) : std::nullopt;
}

QString comoSimple(float valor) {
    return QString::number(double(valor), 'g', 7);
}
} // namespace

void GuardaVentana(Formulario& forma, bool conTamano) {
    const QString seccion = seccionDe(forma);
    LibKtfa* ktfa = modulo().oKtfa.get();
    if (seccion.isEmpty() || ktfa == nullptr)
        return;
    const QString& ini = modulo().cArchivoINI;
    ktfa->EscribeIni(seccion, QStringLiteral("Ventana"), forma.windowTitle(), ini);
    ktfa->EscribeIni(seccion, QStringLiteral("Linea"), comoSimple(forma.Top()), ini);
    ktfa->EscribeIni(seccion, QStringLiteral("Columna"), comoSimple(forma.Left()), ini);
    if (conTamano) {
        ktfa->EscribeIni(seccion, QStringLiteral("Ancho"), comoSimple(forma.Width()), ini);
        ktfa->EscribeIni(seccion, QStringLiteral("Alto"), comoSimple(forma.Height()), ini);
    }
}

void ColocaVentana(Formulario& forma, bool conTamano) {
    const QString seccion = seccionDe(forma);
    LibKtfa* ktfa = modulo().oKtfa.get();
    qint16 linea = 0;
    qint16 columna = 0;
    qint16 ancho = 0;
    qint16 alto = 0;
    if (!seccion.isEmpty() && ktfa != nullptr) {
        const QString& ini = modulo().cArchivoINI;
        const auto lee = [&](const char* clave) {
            return ktfa->LeeIni(seccion, QString::fromLatin1(clave), ini);
        };
        // A value that cannot be had puts the window back at the corner; the steps after it still run.
        const auto tomar = [&](qint16& destino, std::optional<qint16> valor) {
            if (valor) {
                destino = *valor;
            } else {
                linea = 0;
                columna = 0;
            }
        };
        tomar(linea, enteroCorto(ktfa->nxVal(lee("Linea"))));
        tomar(columna, enteroCorto(ktfa->nxVal(lee("Columna"))));
        if (conTamano) {
            tomar(ancho, enteroCorto(lee("Ancho")));
            tomar(alto, enteroCorto(lee("Alto")));
        }
    }
    forma.Move(columna, linea);
    if (conTamano && ancho != 0 && alto != 0)
        forma.Resize(ancho, alto);
}
