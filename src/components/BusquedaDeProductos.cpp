#include "components/BusquedaDeProductos.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// Rows read between two looks at the window's events: small enough that typing never waits long.
constexpr qint64 msPorTanda = 8;
constexpr int filasPorVistazo = 256;
constexpr qsizetype filasPorEntrega = 1000;

QString textoDeBusqueda(const QString& clave, const QString& descripcion) {
    // A line break between the two: no filter word (they hold no blanks) can straddle them.
    return (clave + QLatin1Char('\n') + descripcion).toCaseFolded();
}
} // namespace

int ModeloDeProductos::rowCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : int(mostrados);
}

int ModeloDeProductos::columnCount(const QModelIndex& padre) const {
    return padre.isValid() ? 0 : 2;
}

QVariant ModeloDeProductos::data(const QModelIndex& indice, int rol) const {
    if (rol != Qt::DisplayRole || !indice.isValid() || indice.row() >= mostrados)
        return {};
    const qsizetype producto = visibles[indice.row()];
    return indice.column() == 0 ? claves[producto] : descripciones[producto];
}

QVariant ModeloDeProductos::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (rol != Qt::DisplayRole || orientacion != Qt::Horizontal)
        return {};
    return seccion == 0 ? QStringLiteral("Clave") : QStringLiteral("Descripción");
}

bool ModeloDeProductos::canFetchMore(const QModelIndex& padre) const {
    return !padre.isValid() && mostrados < visibles.size();
}

void ModeloDeProductos::fetchMore(const QModelIndex& padre) {
    if (!canFetchMore(padre))
        return;
    const qsizetype mas = qMin(filasPorEntrega, visibles.size() - mostrados);
    beginInsertRows(QModelIndex(), int(mostrados), int(mostrados + mas - 1));
    mostrados += mas;
    endInsertRows();
}

bool ModeloDeProductos::coincide(qsizetype producto) const {
    for (const QString& palabra : palabras)
        if (!textosDeBusqueda[producto].contains(palabra))
            return false;
    return true;
}

void ModeloDeProductos::agregar(const QStringList& nuevasClaves, const QStringList& nuevasDescripciones) {
    const qsizetype desde = claves.size();
    claves += nuevasClaves;
    descripciones += nuevasDescripciones;
    QVector<qsizetype> aceptados;
    for (qsizetype i = desde; i < claves.size(); ++i) {
        textosDeBusqueda << textoDeBusqueda(claves[i], descripciones[i]);
        if (coincide(i))
            aceptados << i;
    }
    visibles += aceptados;
    // The first rows are shown as they arrive; the rest wait until the view scrolls to them.
    if (mostrados < filasPorEntrega)
        fetchMore(QModelIndex());
}

void ModeloDeProductos::filtrar(const QString& filtro) {
    const QString nuevo = filtro.simplified().toCaseFolded();
    if (nuevo == filtroActual)
        return;
    // Typing on narrows what already matched; anything else starts over from the whole catalogue.
    const bool estrecha = nuevo.startsWith(filtroActual);
    filtroActual = nuevo;
    palabras = nuevo.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QVector<qsizetype> aceptados;
    if (estrecha) {
        for (qsizetype producto : std::as_const(visibles))
            if (coincide(producto))
                aceptados << producto;
    } else {
        for (qsizetype producto = 0; producto < claves.size(); ++producto)
            if (coincide(producto))
                aceptados << producto;
    }
    beginResetModel();
    visibles = std::move(aceptados);
    mostrados = qMin(filasPorEntrega, visibles.size());
    endResetModel();
}

QString ModeloDeProductos::clave(int fila) const {
    return fila >= 0 && fila < mostrados ? claves[visibles[fila]] : QString();
}

DialogoDeBusqueda::DialogoDeBusqueda(QWidget* duena)
    : QDialog(duena), txtBuscar(new QLineEdit), grdProductos(new QTableView), lblCuenta(new QLabel) {
    setObjectName(QStringLiteral("frmBuscarProductos"));
    setWindowTitle(QStringLiteral("Búsqueda de productos"));
    txtBuscar->setObjectName(QStringLiteral("txtBuscar"));
    txtBuscar->setPlaceholderText(QStringLiteral("Parte de la clave o de la descripción"));
    grdProductos->setObjectName(QStringLiteral("grdProductos"));
    lblCuenta->setObjectName(QStringLiteral("lblCuenta"));

    grdProductos->setModel(&productos);
    grdProductos->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdProductos->setSelectionMode(QAbstractItemView::SingleSelection);
    grdProductos->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdProductos->setTabKeyNavigation(false);
    grdProductos->verticalHeader()->hide();
    // Rows of one height: the view never measures 100,000 of them.
    grdProductos->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdProductos->horizontalHeader()->setStretchLastSection(true);
    grdProductos->setColumnWidth(0, 160);

    auto* botones = new QDialogButtonBox;
    botones->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    botones->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    for (QAbstractButton* boton : botones->buttons())
        static_cast<QPushButton*>(boton)->setAutoDefault(false);
    connect(botones, &QDialogButtonBox::accepted, this, &DialogoDeBusqueda::elegir);
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* buscar = new QHBoxLayout;
    auto* etiqueta = new QLabel(QStringLiteral("&Buscar:"));
    etiqueta->setBuddy(txtBuscar);
    buscar->addWidget(etiqueta);
    buscar->addWidget(txtBuscar, 1);
    auto* pie = new QHBoxLayout;
    pie->addWidget(lblCuenta, 1);
    pie->addWidget(botones);
    auto* columna = new QVBoxLayout(this);
    columna->addLayout(buscar);
    columna->addWidget(grdProductos, 1);
    columna->addLayout(pie);
    resize(640, 440);

    connect(txtBuscar, &QLineEdit::textChanged, this, &DialogoDeBusqueda::filtrar);
    connect(grdProductos, &QTableView::doubleClicked, this, &DialogoDeBusqueda::elegir);
    txtBuscar->installEventFilter(this);
    grdProductos->installEventFilter(this);
    lector.setInterval(0);
    connect(&lector, &QTimer::timeout, this, &DialogoDeBusqueda::leerTanda);
    txtBuscar->setFocus();
}

void DialogoDeBusqueda::cargar(QSqlQuery nuevaConsulta) {
    consulta = std::move(nuevaConsulta);
    lector.start();
    mostrarCuenta();
}

void DialogoDeBusqueda::leerTanda() {
    const bool vacia = productos.rowCount() == 0;
    bool fin = false;
    QElapsedTimer reloj;
    reloj.start();
    while (!fin && reloj.elapsed() < msPorTanda) {
        QStringList claves;
        QStringList descripciones;
        for (int i = 0; i < filasPorVistazo; ++i) {
            if (!consulta.next()) {
                fin = true;
                break;
            }
            claves << consulta.value(0).toString();
            descripciones << consulta.value(1).toString();
        }
        productos.agregar(claves, descripciones);
    }
    if (vacia && productos.rowCount() > 0)
        grdProductos->setCurrentIndex(productos.index(0, 0));
    if (fin) {
        lector.stop();
        consulta.finish();
        emit cargado();
    }
    mostrarCuenta();
}

void DialogoDeBusqueda::filtrar(const QString& texto) {
    productos.filtrar(texto);
    if (productos.rowCount() > 0)
        grdProductos->setCurrentIndex(productos.index(0, 0));
    mostrarCuenta();
}

void DialogoDeBusqueda::mostrarCuenta() {
    const QString cuenta =
        QStringLiteral("%L1 de %L2 productos").arg(productos.coincidentes()).arg(productos.total());
    lblCuenta->setText(cargando() ? QStringLiteral("Cargando… ") + cuenta : cuenta);
}

void DialogoDeBusqueda::elegir() {
    const QModelIndex actual = grdProductos->currentIndex();
    const int fila = actual.isValid() ? actual.row() : 0;
    if (fila >= productos.rowCount()) {
        QApplication::beep(); // nothing matches: nothing to choose
        return;
    }
    claveElegida = productos.clave(fila);
    accept();
}

bool DialogoDeBusqueda::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objeto, evento);
    auto* tecla = static_cast<QKeyEvent*>(evento);
    switch (tecla->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        elegir();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // The arrows move through the list while the cursor stays in the filter box.
        if (objeto == txtBuscar) {
            QKeyEvent copia(tecla->type(), tecla->key(), tecla->modifiers());
            QApplication::sendEvent(grdProductos, &copia);
            return true;
        }
        break;
    default:
        break;
    }
    return QDialog::eventFilter(objeto, evento);
}
