#pragma once
// Nodex.Utilerias: enciphering of stored secrets, the point-of-sale's texts and its message box.

#include "components/Componente.h"
#include "winapi/ado.h"

#include <QString>

class QObject;

class Utilerias : public Componente {
public:
    // Why the last Encripta or DesEncripta failed, in words for the user; "" when it worked.
    QString cError;

    // The enciphered text, or "" when it cannot be enciphered (no key can be read or made).
    virtual QString Encripta(const QString& texto) = 0;
    // The plain text, or "" when the text cannot be authenticated. An empty text gives "" and no error.
    virtual QString DesEncripta(const QString& texto) = 0;
    // The window that owns the next message box.
    QObject* ElMenu = nullptr;
    // Shows a message box; returns the pressed button with the platform's codes (1 OK, 6 Yes, 7 No).
    virtual quint8 MsgBoxSkn(QString& mensaje, qint32& estilo, QString& titulo, quint8& extra) = 0;
    // Text number `numero` of table `textos`, "" when absent.
    virtual QString DameTexto(qint16 numero, ado::Connection& conexion) = 0;
};
