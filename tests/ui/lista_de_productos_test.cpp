// The product list tab: the grid read from the list file, Insert through the product search, Delete
// after the question, and the file rewritten after every change.

#include "bd_base.h"
#include "editors/MSFlexGrid.h"
#include "tienda_en_ventana.h"

#include <QFile>

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
            buscarEnDialogo(modal, filtro, filtro.isEmpty() ? Qt::Key_Escape : Qt::Key_Return);
        });
        QTest::keyClick(control<MSFlexGrid>("mfgProds"), Qt::Key_Insert);
    }

    // Delete on row `fila` (on the current row when -1), answering the question; what the question said.
    QString quitar(qint32 fila, const char* respuesta) {
        Contestador contestador(QString::fromUtf8(respuesta));
        auto* grid = control<MSFlexGrid>("mfgProds");
        if (fila >= 0)
            grid->setRow(fila);
        QTest::keyClick(grid, Qt::Key_Delete);
        return contestador.vistas.value(0);
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

TEST_F(ListaDeProductos, OpensOnTheFileInItsOrderAndDeleteAsksFirstAndRewritesTheFile) {
    MSFlexGrid& grid = abrir(tresProductos);
    EXPECT_EQ(filas(), QStringList({"1003|Leche entera", "1001|Café molido", "1002|Azúcar morena"}));
    EXPECT_EQ(QList<int>({grid.Row(), grid.Col()}), QList<int>({1, 1}));
    EXPECT_EQ(pestanasVisibles(), QList<int>{2});
    EXPECT_FALSE(reloj()) << "no send while the list is edited";
    EXPECT_EQ(QApplication::focusWidget(), &grid);

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

    // With the database gone Insert shows no search and adds nothing.
    modulo().oBasesDD->cRuta = QStringLiteral("sqlite:") + ruta(QStringLiteral("no-existe"));
    AlAparecer busqueda([](QWidget* modal) { modal->close(); });
    QTest::keyClick(&grid, Qt::Key_Insert);
    QTest::qWait(50);
    EXPECT_FALSE(busqueda.visto());
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_FALSE(QFile::exists(archivoProductos()));

    clic("cmdRegresar");
    EXPECT_EQ(pestanasVisibles(), QList<int>{0});
    EXPECT_TRUE(reloj());
}

// A code that differs only in letter case is another product; one already listed is not added twice.
TEST_F(ListaDeProductos, InsertAddsTheChosenProductAndRewritesTheFileEachTime) {
    abrir("A1\r\nAceite grande\r\n");
    insertar(QStringLiteral("a1"));
    EXPECT_EQ(leer(archivoProductos()), QByteArray("A1\r\nAceite grande\r\na1\r\nAceite chico\r\n"));
    insertar(QStringLiteral("molido"));
    insertar(QStringLiteral("1001")); // a beep and nothing else
    insertar(QString());              // the search closed with Escape
    EXPECT_EQ(filas(), QStringList({"A1|Aceite grande", "a1|Aceite chico", "1001|Café molido"}));
    EXPECT_EQ(leer(archivoProductos()),
              QByteArray("A1\r\nAceite grande\r\na1\r\nAceite chico\r\n1001\r\nCaf\xe9 molido\r\n"));
}

} // namespace
