#pragma once
// The skin: the window's background takes the colours of the skin picture, top to bottom. With
// `valor` false the controls keep the desktop's colours; with true they take the skin too.

#include "components/Efectos.h"

class EfectosDeVentana final : public Efectos {
public:
    void PintarSkin(qint32 hDC, QObject* ventana, bool valor) override;
};
