#pragma once
// The product grid, in the vocabulary the program's code speaks: Rows and Cols count the fixed header
// row and the fixed first column too, TextMatrix(row, col) reads and writes any cell, AddItem appends a
// row given as tab-separated text. Row 0 is the table's header and column 0 its vertical header, so
// both stay in place while the products scroll. Widths are in twips.

#include <QTableWidget>
#include <QVector>

class MSFlexGrid : public QTableWidget {
    Q_OBJECT
    Q_PROPERTY(qint32 Rows READ Rows WRITE setRows)
    Q_PROPERTY(qint32 Cols READ Cols WRITE setCols)
    Q_PROPERTY(qint32 Row READ Row WRITE setRow)
    Q_PROPERTY(qint32 Col READ Col WRITE setCol)
    Q_PROPERTY(qint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(qint32 ForeColor READ ForeColor WRITE setForeColor)

public:
    // ColAlignment values.
    enum : qint16 {
        flexAlignLeftTop = 0,
        flexAlignLeftCenter = 1,
        flexAlignLeftBottom = 2,
        flexAlignCenterTop = 3,
        flexAlignCenterCenter = 4,
        flexAlignCenterBottom = 5,
        flexAlignRightTop = 6,
        flexAlignRightCenter = 7,
        flexAlignRightBottom = 8,
    };

    explicit MSFlexGrid(QWidget* parent = nullptr);

    qint32 Rows() const { return rowCount() + 1; }
    void setRows(qint32 filas);
    qint32 Cols() const { return columnCount() + 1; }
    void setCols(qint32 columnas);

    // The current cell. Row 0 (or Col 0) means the current cell is on the fixed row (or column): no
    // product cell is highlighted then, as while the grid has no product row; the first row added
    // becomes current. Removing a row keeps the current row's number (the next product's).
    qint32 Row() const { return fila; }
    void setRow(qint32 nuevaFila);
    qint32 Col() const { return columna; }
    void setCol(qint32 nuevaColumna);

    qint32 BackColor() const { return colorFondo; }
    void setBackColor(qint32 color);
    qint32 ForeColor() const { return colorTexto; }
    void setForeColor(qint32 color);

    // Cells outside the grid read as "" and are not written.
    Q_INVOKABLE QString TextMatrix(qint32 fila, qint32 columna) const;
    Q_INVOKABLE void setTextMatrix(qint32 fila, qint32 columna, const QString& texto);

    // A new last row; the fields of `elemento`, separated by tabs, fill columns 0, 1, 2…
    Q_INVOKABLE void AddItem(const QString& elemento);
    // False, and nothing removed, for the fixed row, a row outside the grid or the last product row:
    // a grid always keeps one row below its header.
    Q_INVOKABLE bool RemoveItem(qint32 fila);

    qint32 ColWidth(qint32 columna) const;
    void setColWidth(qint32 columna, qint32 twips);
    void setColAlignment(qint32 columna, qint16 alineacion);

signals:
    // Every key pressed in the grid, before the grid acts on it; a handler that sets the code to 0
    // keeps the grid from acting on it.
    void KeyDown(qint16& KeyCode, qint16 Shift);

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    QTableWidgetItem* celda(qint32 fila, qint32 columna) const;
    QTableWidgetItem* nuevaCelda(qint32 columna, const QString& texto) const;
    void completarColumnaFija();
    void mostrarCeldaActual();
    void aplicarColores();

    qint32 fila = 1;
    qint32 columna = 1;
    qint32 colorFondo;
    qint32 colorTexto;
    QString esquina; // text of cell (0, 0), which has nowhere to show
    QVector<Qt::Alignment> alineaciones;
    bool moviendoCelda = false;
};
