#pragma once
// Whole numbers from numbers a person typed or a database stored: a half goes to the even neighbour
// (2.5 is 2, 3.5 is 4), as the point of sale's own conversions round, so that the same text gives the
// same number there and here.

#include <QtGlobal>
#include <cmath>
#include <optional>

inline double redondeoAlPar(double valor) {
    const double abajo = std::floor(valor);
    const double resto = valor - abajo;
    if (resto != 0.5)
        return resto < 0.5 ? abajo : abajo + 1;
    return std::fmod(abajo, 2.0) == 0 ? abajo : abajo + 1;
}

// The 16-bit whole number a value rounds to; none when it does not fit (or is not a number).
inline std::optional<qint16> entero16(double valor) {
    const double redondeado = redondeoAlPar(valor);
    if (!(redondeado >= -32768 && redondeado <= 32767))
        return std::nullopt;
    return static_cast<qint16>(redondeado);
}
