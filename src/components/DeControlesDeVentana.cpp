#include "components/DeControlesDeVentana.h"

#include "winapi/color_ole.h"

#include <QTableWidget>

void DeControlesDeVentana::LaCeldaFG(QObject* grid, qint32 colorFondo, qint32 colorTexto, bool valor) {
    auto* tabla = qobject_cast<QTableWidget*>(grid);
    if (tabla == nullptr)
        return;
    QPalette paleta = tabla->palette();
    paleta.setColor(QPalette::Base, ColorDeOle(colorFondo));
    paleta.setColor(QPalette::Text, ColorDeOle(colorTexto));
    if (valor) {
        paleta.setColor(QPalette::Highlight, ColorDeOle(colorTexto));
        paleta.setColor(QPalette::HighlightedText, ColorDeOle(colorFondo));
    }
    tabla->setPalette(paleta);
}

void DeControlesDeVentana::PintarRenglon(QObject* grid, qint32 desde, qint32 hasta) {
    auto* tabla = qobject_cast<QTableWidget*>(grid);
    if (tabla == nullptr)
        return;
    const QColor base = tabla->palette().color(QPalette::Base);
    const QColor banda = base.lightness() > 128 ? base.darker(106) : base.lighter(125);
    for (qint32 fila = qMax(desde, 1); fila <= hasta && fila <= tabla->rowCount(); ++fila)
        for (int columna = 0; columna < tabla->columnCount(); ++columna)
            if (QTableWidgetItem* celda = tabla->item(fila - 1, columna))
                celda->setBackground(fila % 2 == 0 ? QBrush(banda) : QBrush());
}
