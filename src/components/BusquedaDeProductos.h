#pragma once
// The product search window: codes and descriptions of table `productos`, narrowed as the user types in
// the filter box. A catalogue of 100,000 products arrives in batches between window events, so the
// window answers while it fills; the filter runs in memory over what has arrived.

#include <QAbstractTableModel>
#include <QDialog>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

class QLabel;
class QLineEdit;
class QTableView;

// The products, and the rows of them that match the filter: every word of the filter appears, without
// regard to letter case, in the code or in the description. The view is handed the matching rows a
// thousand at a time, as it scrolls to them, so that neither a filter nor a batch of products makes it
// lay out 100,000 rows.
class ModeloDeProductos : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& padre = QModelIndex()) const override;
    int columnCount(const QModelIndex& padre = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int rol) const override;
    QVariant headerData(int seccion, Qt::Orientation orientacion, int rol) const override;
    bool canFetchMore(const QModelIndex& padre) const override;
    void fetchMore(const QModelIndex& padre) override;

    // More products at the end; those that match the filter appear at once.
    void agregar(const QStringList& claves, const QStringList& descripciones);
    void filtrar(const QString& filtro);
    // The code of a row as shown (filtered).
    QString clave(int fila) const;
    qsizetype total() const { return claves.size(); }
    qsizetype coincidentes() const { return visibles.size(); }

private:
    bool coincide(qsizetype producto) const;

    QStringList claves;
    QStringList descripciones;
    QStringList textosDeBusqueda; // code and description, case-folded, for the filter
    QStringList palabras;         // of the filter, case-folded
    QString filtroActual;
    QVector<qsizetype> visibles; // products that match, in catalogue order
    qsizetype mostrados = 0;     // of them, the rows the view has been given
};

class DialogoDeBusqueda : public QDialog {
    Q_OBJECT

public:
    explicit DialogoDeBusqueda(QWidget* duena = nullptr);

    // Starts filling the list from an executed query whose columns are the code and the description.
    void cargar(QSqlQuery consulta);
    bool cargando() const { return lector.isActive(); }
    // The code of the chosen row; "" until the user chooses one.
    QString elegida() const { return claveElegida; }
    ModeloDeProductos& modelo() { return productos; }

signals:
    // The whole query has arrived.
    void cargado();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void leerTanda();
    void filtrar(const QString& texto);
    void elegir();
    void mostrarCuenta();

    ModeloDeProductos productos;
    QLineEdit* txtBuscar;
    QTableView* grdProductos;
    QLabel* lblCuenta;
    QSqlQuery consulta;
    QTimer lector;
    QString claveElegida;
};
