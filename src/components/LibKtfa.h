#pragma once
// Nodex.libKtfa: settings file access, number reading and the behaviour of input boxes.

#include "components/Componente.h"

#include <QString>

class QObject;

class LibKtfa : public Componente {
public:
    // Why the last LeeIni or EscribeIni failed, in words for the user, naming the file; "" when it worked.
    QString cError;

    // The value under that key, "" when the file, section or key is missing; "" too when the file is
    // there but cannot be read, which cError then says.
    virtual QString LeeIni(const QString& seccion, const QString& clave, const QString& archivo) = 0;
    // Stores the value, creating the file, section and key when missing. False when it could not, which
    // cError says; a file that cannot be read is never replaced.
    virtual bool EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                            const QString& archivo) = 0;
    // The number a text starts with; 0 when it starts with none.
    virtual double nxVal(const QString& texto) = 0;
    // Input-box behaviour of the configuration tab.
    virtual void Resalta(QObject* cajaDeTexto) = 0;
    virtual void Teclas(qint16& codigoTecla) = 0;
    virtual void Enter(qint16& codigoCaracter, QString& mascara) = 0;
};
