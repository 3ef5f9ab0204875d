// The product list tab: the grid read from the list file, Insert through the product search, Delete
// after the question, and the file rewritten after every change.

#include "bd_base.h"
#include "components/BusquedaDeProductos.h"
#include "editors/MSFlexGrid.h"
#include "modulo/Modulo.h"
#include "tienda_en_ventana.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace {

class ListaDeProductos : public TiendaEnVentana {
protected:
    MSFlexGrid& abrir(const QByteArray& archivo = QByteArray()) {
        if (!archivo.isNull())
            escribir(archivoProductos(), archivo);
        cargar({productoDePrueba(QStringLiteral("1001"), QStringLiteral("Café molido")),
                productoDePrueba(QStringLiteral("1002"), QStringLiteral("Azúcar morena")),
                productoDePrueba(QStringLiteral("1003"), QStringLiteral("Leche entera")),
                productoDePrueba(QStringLiteral("a1"), QStringLiteral("Aceite chico"))});
        clic("cmdListaProds");
        return *control<MSFlexGrid>("mfgProds");
    }

    // Insert, choosing in the search window the first product that `filtro` leaves.
    void insertar(const QString& filtro) {
        AlAparecer busqueda([filtro](QWidget* modal) {
            auto* dialogo = qobject_cast<DialogoDeBusqueda*>(modal);
            ASSERT_NE(dialogo, nullptr);
            EXPECT_TRUE(QTest::qWaitFor([dialogo] { return !dialogo->cargando(); }));
            auto* txtBuscar = dialogo->findChild<QLineEdit*>(QStringLiteral("txtBuscar"));
            QTest::keyClicks(txtBuscar, filtro);
            QTest::keyClick(txtBuscar, filtro.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        });
        QTest::keyClick(control<MSFlexGrid>("mfgProds"), Qt::Key_Insert);
    }

    // Delete on row `fila` (on the current row when -1), answering the question; what the question said.
    QString quitar(qint32 fila, const char* respuesta) {
        QString pregunta;
        AlAparecer contestar([&pregunta, respuesta](QWidget* modal) {
            auto* caja = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(caja, nullptr);
            pregunta = caja->windowTitle() + QStringLiteral(": ") + caja->text();
            for (QAbstractButton* b : caja->buttons())
                if (b->text() == QString::fromUtf8(respuesta))
                    b->click();
        });
        auto* grid = control<MSFlexGrid>("mfgProds");
        if (fila >= 0)
            grid->setRow(fila);
        QTest::keyClick(grid, Qt::Key_Delete);
        return pregunta;
    }

    QStringList filas() const {
        QStringList texto;
        auto* grid = control<MSFlexGrid>("mfgProds");
        for (qint32 i = 1; i < grid->Rows(); ++i)
            texto << grid->TextMatrix(i, 1) + QLatin1Char('|') + grid->TextMatrix(i, 2);
        return texto;
    }
};

// "Café" and "Azúcar" in the file's code page.
const QByteArray tresProductos = "1003\r\nLeche entera\r\n1001\r\nCaf\xe9 molido\r\n1002\r\nAz\xfa"
                                 "car morena\r\n";

TEST_F(ListaDeProductos, OpensOnTheFileInItsOrderWithTheFocusInTheGrid) {
    MSFlexGrid& grid = abrir(tresProductos);
    EXPECT_EQ(filas(), QStringList({"1003|Leche entera", "1001|Café molido", "1002|Azúcar morena"}));
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(pestanasVisibles(), QList<int>{2});
    EXPECT_FALSE(reloj()) << "no send while the list is edited";
    EXPECT_EQ(QApplication::focusWidget(), &grid);

    clic("cmdRegresar");
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_TRUE(reloj());
}

TEST_F(ListaDeProductos, InsertAddsTheChosenProductAndRewritesTheFileEachTime) {
    MSFlexGrid& grid = abrir();
    EXPECT_EQ(grid.Rows(), 1) << "no list file: the header alone";

    insertar(QStringLiteral("molido"));
    EXPECT_EQ(filas(), QStringList({"1001|Café molido"}));
    EXPECT_EQ(leer(archivoProductos()), QByteArray("1001\r\nCaf\xe9 molido\r\n"));
    EXPECT_TRUE(quitar(-1, "No").endsWith("'1001, Café molido'?")) << "Delete acts on it without a click";

    insertar(QStringLiteral("1003"));
    EXPECT_EQ(leer(archivoProductos()), QByteArray("1001\r\nCaf\xe9 molido\r\n1003\r\nLeche entera\r\n"));

    insertar(QStringLiteral("1001")); // already listed: a beep and nothing else
    insertar(QString());              // the search closed with Escape
    EXPECT_EQ(filas(), QStringList({"1001|Café molido", "1003|Leche entera"}));
    EXPECT_EQ(leer(archivoProductos()), QByteArray("1001\r\nCaf\xe9 molido\r\n1003\r\nLeche entera\r\n"));
}

TEST_F(ListaDeProductos, ACodeThatDiffersOnlyInLetterCaseIsAnotherProduct) {
    abrir("A1\r\nAceite grande\r\n");
    insertar(QStringLiteral("a1"));
    EXPECT_EQ(filas(), QStringList({"A1|Aceite grande", "a1|Aceite chico"}));
    EXPECT_EQ(leer(archivoProductos()), QByteArray("A1\r\nAceite grande\r\na1\r\nAceite chico\r\n"));
}

TEST_F(ListaDeProductos, WithTheDatabaseGoneInsertShowsNoSearchAndAddsNothing) {
    abrir(tresProductos);
    modulo().oBasesDD->cRuta = QStringLiteral("sqlite:") + ruta(QStringLiteral("no-existe"));
    AlAparecer busqueda([](QWidget* modal) { modal->close(); });
    QTest::keyClick(control<MSFlexGrid>("mfgProds"), Qt::Key_Insert);
    QTest::qWait(50);
    EXPECT_FALSE(busqueda.visto());
    EXPECT_EQ(filas().size(), 3);
    EXPECT_EQ(leer(archivoProductos()), tresProductos);
}

TEST_F(ListaDeProductos, DeleteAsksFirstAndRewritesTheFile) {
    MSFlexGrid& grid = abrir(tresProductos);

    EXPECT_EQ(quitar(2, "No"), QStringLiteral("Quitar producto de la lista: "
                                              "¿Está seguro de quitar el producto '1001, Café molido'?"));
    EXPECT_EQ(leer(archivoProductos()), tresProductos);

    quitar(1, "Sí");
    EXPECT_EQ(filas(), QStringList({"1001|Café molido", "1002|Azúcar morena"}));
    EXPECT_EQ(leer(archivoProductos()), QByteArray("1001\r\nCaf\xe9 molido\r\n1002\r\nAz\xfa"
                                                   "car morena\r\n"));

    // The current row is now the product that moved up into it.
    EXPECT_TRUE(quitar(-1, "Sí").endsWith("'1001, Café molido'?"));
    quitar(1, "Sí"); // the only product left: the file goes, so every product is sent
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_FALSE(QFile::exists(archivoProductos()));

    EXPECT_EQ(quitar(0, "Sí"), QString()) << "Delete on the header asks nothing";
}

} // namespace
