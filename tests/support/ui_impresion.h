#pragma once
// Qt's texts as GoogleTest prints them in a failure: readable, not as bytes.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& texto, std::ostream* salida) {
    *salida << '"' << texto.toStdString() << '"';
}

inline void PrintTo(const QStringList& textos, std::ostream* salida) {
    *salida << '{';
    for (const QString& texto : textos) {
        PrintTo(texto, salida);
        *salida << ' ';
    }
    *salida << '}';
}
