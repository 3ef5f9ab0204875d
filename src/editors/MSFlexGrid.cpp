#include "editors/MSFlexGrid.h"

#include "winapi/color_ole.h"
#include "winapi/teclas.h"
#include "winapi/twips.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace {
Qt::Alignment alineacionQt(qint16 alineacion) {
    static const Qt::Alignment horizontales[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment verticales[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    if (alineacion < 0 || alineacion > MSFlexGrid::flexAlignRightBottom)
        return Qt::AlignLeft | Qt::AlignVCenter;
    return horizontales[alineacion / 3] | verticales[alineacion % 3];
}
} // namespace

MSFlexGrid::MSFlexGrid(QWidget* parent)
    : QTableWidget(1, 1, parent), colorFondo(color_ole::fondoDeVentana),
      colorTexto(color_ole::textoDeVentana) {
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setWordWrap(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setHorizontalHeaderItem(0, new QTableWidgetItem());
    completarColumnaFija();
    alineaciones.resize(2, Qt::AlignLeft | Qt::AlignVCenter);
    setColWidth(0, 240);

    connect(this, &QTableWidget::currentCellChanged, this, [this](int nuevaFila, int nuevaColumna) {
        if (moviendoCelda || nuevaFila < 0 || nuevaColumna < 0)
            return;
        fila = nuevaFila + 1;
        columna = nuevaColumna + 1;
    });
    mostrarCeldaActual();
}

void MSFlexGrid::setRows(qint32 filas) {
    setRowCount(qMax(filas, 1) - 1);
    completarColumnaFija();
    fila = qMin(fila, Rows() - 1);
    mostrarCeldaActual();
}

void MSFlexGrid::setCols(qint32 columnas) {
    const int antes = columnCount();
    setColumnCount(qMax(columnas, 1) - 1);
    for (int c = antes; c < columnCount(); ++c)
        setHorizontalHeaderItem(c, new QTableWidgetItem());
    alineaciones.resize(Cols(), Qt::AlignLeft | Qt::AlignVCenter);
    columna = qMin(columna, Cols() - 1);
    mostrarCeldaActual();
}

void MSFlexGrid::setRow(qint32 nuevaFila) {
    if (nuevaFila < 0 || nuevaFila >= Rows())
        return;
    fila = nuevaFila;
    mostrarCeldaActual();
}

void MSFlexGrid::setCol(qint32 nuevaColumna) {
    if (nuevaColumna < 0 || nuevaColumna >= Cols())
        return;
    columna = nuevaColumna;
    mostrarCeldaActual();
}

void MSFlexGrid::setBackColor(qint32 color) {
    colorFondo = color;
    aplicarColores();
}

void MSFlexGrid::setForeColor(qint32 color) {
    colorTexto = color;
    aplicarColores();
}

QString MSFlexGrid::TextMatrix(qint32 f, qint32 c) const {
    if (f == 0 && c == 0)
        return esquina;
    const QTableWidgetItem* item = celda(f, c);
    return item != nullptr ? item->text() : QString();
}

void MSFlexGrid::setTextMatrix(qint32 f, qint32 c, const QString& texto) {
    if (f < 0 || c < 0 || f >= Rows() || c >= Cols())
        return;
    if (f == 0 && c == 0)
        esquina = texto;
    else if (QTableWidgetItem* item = celda(f, c))
        item->setText(texto);
    else
        setItem(f - 1, c - 1, nuevaCelda(c, texto));
}

void MSFlexGrid::AddItem(const QString& elemento) {
    const QStringList campos = elemento.split(QLatin1Char('\t'));
    const int nueva = rowCount();
    insertRow(nueva);
    setVerticalHeaderItem(nueva, new QTableWidgetItem(campos.value(0)));
    for (int c = 1; c < Cols() && c < campos.size(); ++c)
        setItem(nueva, c - 1, nuevaCelda(c, campos.at(c)));
    // The current cell leaves the header as soon as there is a row to stand on, so that the keys act on
    // the first product without a click.
    if (fila == 0) {
        fila = 1;
        columna = qMax(columna, 1);
        mostrarCeldaActual();
    }
}

bool MSFlexGrid::RemoveItem(qint32 f) {
    if (f < 1 || f >= Rows() || Rows() <= 2)
        return false;
    // The current row keeps its number, now the row below the removed one; the view would move its own
    // current row along with the row it stood on.
    moviendoCelda = true;
    removeRow(f - 1);
    moviendoCelda = false;
    fila = qMin(fila, Rows() - 1);
    mostrarCeldaActual();
    return true;
}

qint32 MSFlexGrid::ColWidth(qint32 c) const {
    if (c < 0 || c >= Cols())
        return 0;
    const int pixeles = c == 0 ? verticalHeader()->width() : columnWidth(c - 1);
    return qint32(pixeles * TwipsPorPixelX() + 0.5);
}

void MSFlexGrid::setColWidth(qint32 c, qint32 twips) {
    if (c < 0 || c >= Cols())
        return;
    if (c == 0)
        verticalHeader()->setFixedWidth(PixelesX(twips));
    else
        setColumnWidth(c - 1, PixelesX(twips));
}

void MSFlexGrid::setColAlignment(qint32 c, qint16 alineacion) {
    if (c < 1 || c >= Cols())
        return;
    alineaciones[c] = alineacionQt(alineacion);
    for (int f = 0; f < rowCount(); ++f)
        if (QTableWidgetItem* item = this->item(f, c - 1))
            item->setTextAlignment(alineaciones[c]);
}

void MSFlexGrid::keyPressEvent(QKeyEvent* evento) {
    qint16 codigo = CodigoDeTecla(*evento);
    const bool teniaCodigo = codigo != 0;
    emit KeyDown(codigo, EstadoShift(evento->modifiers()));
    if (teniaCodigo && codigo == 0)
        evento->accept();
    else
        QTableWidget::keyPressEvent(evento);
}

QTableWidgetItem* MSFlexGrid::celda(qint32 f, qint32 c) const {
    if (f < 0 || c < 0 || f >= Rows() || c >= Cols() || (f == 0 && c == 0))
        return nullptr;
    if (f == 0)
        return horizontalHeaderItem(c - 1);
    if (c == 0)
        return verticalHeaderItem(f - 1);
    return item(f - 1, c - 1);
}

QTableWidgetItem* MSFlexGrid::nuevaCelda(qint32 c, const QString& texto) const {
    auto* item = new QTableWidgetItem(texto);
    item->setTextAlignment(alineaciones.value(c, Qt::AlignLeft | Qt::AlignVCenter));
    return item;
}

// Without an item of its own a row of the fixed column would show its number.
void MSFlexGrid::completarColumnaFija() {
    for (int f = 0; f < rowCount(); ++f)
        if (verticalHeaderItem(f) == nullptr)
            setVerticalHeaderItem(f, new QTableWidgetItem());
}

void MSFlexGrid::mostrarCeldaActual() {
    moviendoCelda = true;
    if (fila >= 1 && columna >= 1 && fila < Rows() && columna < Cols())
        setCurrentCell(fila - 1, columna - 1);
    else
        setCurrentCell(-1, -1);
    moviendoCelda = false;
}

void MSFlexGrid::aplicarColores() {
    QPalette paleta = palette();
    paleta.setColor(QPalette::Base, ColorDeOle(colorFondo));
    paleta.setColor(QPalette::Text, ColorDeOle(colorTexto));
    setPalette(paleta);
}
