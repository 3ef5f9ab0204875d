#pragma once
// The program's life in the notification area: its icon, bringing the window back when the icon is
// clicked, and the registration that starts it at logon. Holds no state: make one, use it, let it go.

#include "winapi/shell_notify.h"

#include <QString>

class Formulario;

// The icon's record, shared by every clsInicio: RemoverSystray deletes what PonerSystray added.
extern shell_notify::NOTIFYICONDATA nidBandeja;

class clsInicio {
public:
    // A mouse message of the icon, carried in x (in the window's scale mode). A release of the left
    // or right button brings the window back; every other message does nothing.
    void MouseMove(Formulario& Forrm, qint16 Button, qint16 Shift, float& X, float Y);
    void Restaurar(Formulario& Forrm);
    void PonerSystray(Formulario& Forrm);
    void RemoverSystray();
    // The last send's outcome on the icon: the tip holds it under the caption, and `avisar` raises a
    // balloon as well.
    void MostrarEnvio(Formulario& Forrm, const QString& linea, bool avisar);
    // `stArchivo`: "\" and the executable's file name. Registers the running executable to start at
    // logon unless it is registered already, letter for letter.
    void SiRegistrado(QString& stArchivo);
};

// The tip as the record keeps it: the caption and a NUL, in a field of 64 characters filled with
// spaces; a caption of 64 characters or more fills the field and loses its NUL.
void LlenarTip(shell_notify::NOTIFYICONDATA& datos, const QString& titulo);
