#include "editors/EditorDeProductos.h"

#include "editors/MSFlexGrid.h"
#include "export/ListasDeArchivo.h"
#include "export/SqlSeguro.h"
#include "export/clsDeProductos.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"
#include "winapi/teclas.h"

#include <QApplication>

EditorDeProductos::EditorDeProductos(MSFlexGrid* mfgProds, Avance& avance, QObject* parent)
    : QObject(parent), mfgProds(mfgProds), avance(avance) {
    connect(mfgProds, &MSFlexGrid::KeyDown, this, &EditorDeProductos::mfgProds_KeyDown);
}

void EditorDeProductos::cmdListaProds_Click() {
    emit detenerReloj();
    Modulo& m = modulo();
    if (m.oArchivos->HayArchivo(m.cArchivoProductos)) {
        mfgProds->setRows(1);
        const auto lista = leerListaDeProductos(m.cArchivoProductos);
        for (const ProductoDeLista& producto : lista ? lista->valores : QList<ProductoDeLista>()) {
            mfgProds->AddItem(QLatin1Char('\t') + producto.clave + QLatin1Char('\t') + producto.descripcion);
            m.oControles->PintarRenglon(mfgProds, mfgProds->Rows() - 1, mfgProds->Rows() - 1);
        }
        if (mfgProds->Rows() >= 2) {
            mfgProds->setRow(1);
            mfgProds->setCol(1);
        }
    }
    // Bringing the tab forward puts the focus in the grid.
    emit mostrarPestana(2);
}

void EditorDeProductos::mfgProds_KeyDown(qint16& KeyCode, qint16 /*Shift*/) {
    if (KeyCode == tecla::vbKeyInsert)
        agregarProducto();
    else if (KeyCode == tecla::vbKeyDelete)
        quitarProducto();
}

void EditorDeProductos::agregarProducto() {
    Modulo& m = modulo();
    QString clave;
    {
        clsDeProductos productos(avance);
        QString stCondicion, stCaption, stCondicionShF1, stColector;
        bool blEnKits = false;
        bool blUsarShF1 = false;
        clave =
            productos.BuscarProd(stCondicion, blEnKits, stCaption, stCondicionShF1, blUsarShF1, stColector);
    }
    if (clave.isEmpty())
        return;
    // Codes are compared exactly: "a1" and "A1" are two products.
    for (qint32 i = 1; i < mfgProds->Rows(); ++i)
        if (mfgProds->TextMatrix(i, 1) == clave) {
            QApplication::beep();
            return;
        }

    BasesDD& bd = *m.oBasesDD;
    if (!bd.AbrirBdD(m.oConexion, bd.cMiBase))
        return;
    ado::Recordset rs;
    // A product removed from the catalogue since the search gives no row, and nothing is added.
    if (bd.AbrirTabla(rs, m.oConexion,
                      QStringLiteral("productos WHERE Clave=") + literalSql(m.oConexion, clave) +
                          QStringLiteral(" LIMIT 1"),
                      QStringLiteral("Descrip"))) {
        mfgProds->AddItem(QLatin1Char('\t') + clave + QLatin1Char('\t') + rs.Fields(0).Value().toString());
        GrabarLista();
        m.oControles->PintarRenglon(mfgProds, mfgProds->Rows() - 1, mfgProds->Rows() - 1);
    }
    bd.CierraTabla(rs);
    m.oConexion.Close();
}

void EditorDeProductos::quitarProducto() {
    const qint32 fila = mfgProds->Row();
    if (fila == 0) {
        QApplication::beep();
        return;
    }
    const QString clave = mfgProds->TextMatrix(fila, 1);
    const QString descripcion = mfgProds->TextMatrix(fila, 2);
    if (!Pregunta(QStringLiteral("¿Está seguro de quitar el producto '") + clave + QStringLiteral(", ") +
                      descripcion + QStringLiteral("'?"),
                  QStringLiteral("Quitar producto de la lista"), true))
        return;
    // The grid keeps one row below its header, so the only product goes by cutting the rows.
    if (fila == 1 && mfgProds->Rows() <= 2)
        mfgProds->setRows(1);
    else
        mfgProds->RemoveItem(fila);
    GrabarLista();
}

void EditorDeProductos::GrabarLista() {
    clsDeProductos(avance).GrabarLista(filas());
}

QList<ProductoDeLista> EditorDeProductos::filas() const {
    QList<ProductoDeLista> productos;
    for (qint32 i = 1; i < mfgProds->Rows(); ++i)
        productos.append({mfgProds->TextMatrix(i, 1), mfgProds->TextMatrix(i, 2)});
    return productos;
}
