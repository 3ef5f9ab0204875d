#pragma once
// The "Lista de productos" tab: the grid of the products that are sent. Insert adds one through the
// point of sale's product search, Delete removes the current one after asking, and every change is
// written to the product list file at once.

#include <QList>
#include <QObject>

class MSFlexGrid;
class QTimer;
class frmInicial;
struct ProductoDeLista;

class EditorDeProductos : public QObject {
    Q_OBJECT

public:
    // Works on the window's controls cmdListaProds, mfgProds and cmdRegresar.
    explicit EditorDeProductos(frmInicial& ventana);

    void cmdListaProds_Click();
    void mfgProds_KeyDown(qint16& KeyCode, qint16 Shift);

private:
    void agregarProducto();
    void quitarProducto();
    void GrabarLista();
    QList<ProductoDeLista> filas() const;

    frmInicial& ventana;
    MSFlexGrid* mfgProds;
    QTimer* Timer1;
};
