#pragma once
// The "Campos a exportar" tab: every column of the point of sale's `productos` in the list box; the
// selected ones are exported, those with a number " - (n)" first and in the order of their numbers.

#include <QObject>

class QListWidget;
class QTimer;
class frmInicial;

class EditorDeCampos : public QObject {
    Q_OBJECT

public:
    // Works on the window's controls cmdCampos, lstCampos, cmdGrabar2 and cmdCancelar2.
    explicit EditorDeCampos(frmInicial& ventana);

    void cmdCampos_Click();
    void cmdGrabar2_Click();
    // A typed character on the list box; true when it was taken for an order number.
    bool lstCampos_KeyPress(qint16& KeyAscii);

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    frmInicial& ventana;
    QListWidget* lstCampos;
    QTimer* Timer1;
};
