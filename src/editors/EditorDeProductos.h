#pragma once
// The "Lista de productos" tab: the grid of the products that are sent. Insert adds one through the
// point of sale's product search, Delete removes the current one after asking, and every change is
// written to the product list file at once.

#include <QList>
#include <QObject>

class Avance;
class MSFlexGrid;
struct ProductoDeLista;

class EditorDeProductos : public QObject {
    Q_OBJECT

public:
    // Works on the grid mfgProds. `avance`: the window's, which the product export object of a search
    // or a save is made with.
    EditorDeProductos(MSFlexGrid* mfgProds, Avance& avance, QObject* parent);

    // "Lista de productos": the grid filled from the file, then the tab shown.
    void cmdListaProds_Click();
    void mfgProds_KeyDown(qint16& KeyCode, qint16 Shift);

signals:
    // The automatic send waits while the tab is open.
    void detenerReloj();
    void mostrarPestana(quint8 pestana);

private:
    void agregarProducto();
    void quitarProducto();
    void GrabarLista();
    QList<ProductoDeLista> filas() const;

    MSFlexGrid* mfgProds;
    Avance& avance;
};
