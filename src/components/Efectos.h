#pragma once
// nodex.Efectos: the window's skin. Created for the one PintarSkin call at the first activation of the
// main window and released right after.

#include "components/Componente.h"

#include <QtGlobal>

class QObject;

class Efectos : public Componente {
public:
    // `hDC`: the handle of the picture box that holds the skin picture; `ventana`: the window to paint.
    virtual void PintarSkin(qint32 hDC, QObject* ventana, bool valor) = 0;
};
