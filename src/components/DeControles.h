#pragma once
// Nodex.DeControles: the look of the product grid. Implemented by the desktop program.

#include "components/Componente.h"

#include <QtGlobal>

class QObject;

class DeControles : public Componente {
public:
    virtual void LaCeldaFG(QObject* grid, qint32 colorFondo, qint32 colorTexto, bool valor) = 0;
    virtual void PintarRenglon(QObject* grid, qint32 desde, qint32 hasta) = 0;
};
