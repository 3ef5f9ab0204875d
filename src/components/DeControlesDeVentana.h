#pragma once
// The look of the product grid: its colours, and rows painted in bands so that a long list reads
// across easily.

#include "components/DeControles.h"

class DeControlesDeVentana final : public DeControles {
public:
    // With `valor` true the selected row is shown in the grid's own colours, inverted.
    void LaCeldaFG(QObject* grid, qint32 colorFondo, qint32 colorTexto, bool valor) override;
    // Rows `desde` to `hasta`, counted with the header as row 0.
    void PintarRenglon(QObject* grid, qint32 desde, qint32 hasta) override;
};
