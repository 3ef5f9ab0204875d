#pragma once
// What a suite does when a server it needs is not there: it skips on a developer's machine, but fails
// under CI, which never passes by skipping.

#include <QString>
#include <gtest/gtest.h>

bool enCI();

// Failures show texts as text, not as arrays of UTF-16 units.
inline void PrintTo(const QString& texto, std::ostream* os) {
    *os << '"' << texto.toStdString() << '"';
}

#define REQUERIR_SERVIDOR(disponible, motivo)                                                                \
    do {                                                                                                     \
        if (!(disponible)) {                                                                                 \
            if (enCI())                                                                                      \
                FAIL() << "servidor no disponible: " << (motivo);                                            \
            else                                                                                             \
                GTEST_SKIP() << "servidor no disponible: " << (motivo);                                      \
        }                                                                                                    \
    } while (false)
