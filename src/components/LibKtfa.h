#pragma once
// Nodex.libKtfa: settings file access, number reading and the behaviour of input boxes.

#include "components/Componente.h"

#include <QString>

class QObject;

class LibKtfa : public Componente {
public:
    // The value under that key, "" when the file, section or key is missing.
    virtual QString LeeIni(const QString& seccion, const QString& clave, const QString& archivo) = 0;
    // Stores the value, creating the file, section and key when missing.
    virtual void EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                            const QString& archivo) = 0;
    // The number a text starts with; 0 when it starts with none.
    virtual double nxVal(const QString& texto) = 0;
    // Input-box behaviour of the configuration tab.
    virtual void Resalta(QObject* cajaDeTexto) = 0;
    virtual void Teclas(qint16& codigoTecla) = 0;
    virtual void Enter(qint16& codigoCaracter, QString& mascara) = 0;
};
