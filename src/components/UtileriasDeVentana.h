#pragma once
// Nodex.Utilerias of the desktop program: its message box is a window, owned by the window given in
// ElMenu (the main window, even while it is hidden in the notification area).

#include "components/Nucleo.h"

class UtileriasDeVentana final : public UtileriasNucleo {
public:
    quint8 MsgBoxSkn(QString& mensaje, qint32& estilo, QString& titulo, quint8& extra) override;
};
