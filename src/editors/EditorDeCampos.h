#pragma once
// The "Campos a exportar" tab: every column of the point of sale's `productos` in the list box; the
// selected ones are exported, those with a number " - (n)" first and in the order of their numbers.

#include <QObject>

class Avance;
class QListWidget;

class EditorDeCampos : public QObject {
    Q_OBJECT

public:
    // Works on the list box lstCampos. `avance`: the window's, which the product export object of a save
    // is made with.
    EditorDeCampos(QListWidget* lstCampos, Avance& avance, QObject* parent);

    // "Lista de campos": the table's columns listed and those of the file numbered, then the tab shown.
    void cmdCampos_Click();
    void cmdGrabar2_Click();
    // A typed character on the list box; true when it was taken for an order number.
    bool lstCampos_KeyPress(qint16& KeyAscii);

signals:
    // The automatic send waits while the tab is open.
    void detenerReloj();
    void mostrarPestana(quint8 pestana);
    // Saved: back to the "Principal" tab.
    void volverAPrincipal();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    QListWidget* lstCampos;
    Avance& avance;
};
