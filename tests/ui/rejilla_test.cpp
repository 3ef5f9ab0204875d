// The product grid: the vocabulary the product list editor relies on.

#include "editors/MSFlexGrid.h"

#include "ui_impresion.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The grid as the main window sets it up: three columns, header texts, no product yet.
struct RejillaDeProductos : ::testing::Test {
    MSFlexGrid grid;

    void SetUp() override {
        grid.setRows(1);
        grid.setCols(3);
        grid.setColWidth(0, 300);
        grid.setColWidth(1, 2500);
        grid.setColWidth(2, 6000);
        grid.setTextMatrix(0, 1, QStringLiteral("Producto"));
        grid.setTextMatrix(0, 2, QStringLiteral("Descripción"));
    }

    void agregar(std::initializer_list<const char*> claves) {
        for (const char* clave : claves)
            grid.AddItem(QStringLiteral("\t%1\tDescripción de %1").arg(QString::fromUtf8(clave)));
    }

    QStringList claves() const {
        QStringList lista;
        for (int fila = 1; fila < grid.Rows(); ++fila)
            lista << grid.TextMatrix(fila, 1);
        return lista;
    }
};

TEST_F(RejillaDeProductos, TheHeaderRowHoldsTheColumnTitlesAndStaysWhenRowsAreCleared) {
    agregar({"1001", "1002"});
    grid.setRows(1);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), QStringLiteral("Producto"));
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("Descripción"));
    EXPECT_EQ(grid.horizontalHeaderItem(1)->text(), QStringLiteral("Descripción"));
}

TEST_F(RejillaDeProductos, AddItemSplitsTabsIntoColumnsAndTheFixedColumnShowsNoRowNumber) {
    grid.AddItem(QStringLiteral("\t1001\tCafé molido"));
    grid.AddItem(QStringLiteral("\t1002\tAzúcar\tsobrante"));
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("1001"));
    EXPECT_EQ(grid.TextMatrix(1, 2), QStringLiteral("Café molido"));
    EXPECT_EQ(grid.TextMatrix(2, 2), QStringLiteral("Azúcar"));
    EXPECT_EQ(grid.TextMatrix(2, 0), QString());
    EXPECT_EQ(grid.model()->headerData(1, Qt::Vertical).toString(), QString());
}

TEST_F(RejillaDeProductos, ColumnWidthsAreKeptInTwips) {
    const double twipsPorPixel = 1440.0 / grid.logicalDpiX();
    for (const int columna : {0, 1, 2}) {
        const int pedido = columna == 0 ? 300 : columna == 1 ? 2500 : 6000;
        EXPECT_NEAR(grid.ColWidth(columna), pedido, twipsPorPixel) << "columna " << columna;
    }
    EXPECT_EQ(grid.verticalHeader()->width(), qRound(300 / twipsPorPixel));
}

struct Quitar {
    const char* nombre;
    int productos; // listed before: 1001, 1002…
    int fila;
    bool quitada;
    QStringList quedan;
};

class QuitarRenglon : public RejillaDeProductos, public ::testing::WithParamInterface<Quitar> {};

TEST_P(QuitarRenglon, RemoveItemKeepsTheOtherRowsInOrderAndNeverTheLastProductOrTheHeader) {
    const Quitar& caso = GetParam();
    for (int i = 1; i <= caso.productos; ++i)
        grid.AddItem(QStringLiteral("\t%1\tProducto %1").arg(1000 + i));
    EXPECT_EQ(grid.RemoveItem(caso.fila), caso.quitada);
    EXPECT_EQ(claves(), caso.quedan);
}

INSTANTIATE_TEST_SUITE_P(Renglones, QuitarRenglon,
                         ::testing::Values(Quitar{"enMedio", 3, 2, true, {"1001", "1003"}},
                                           Quitar{"primero", 3, 1, true, {"1002", "1003"}},
                                           Quitar{"ultimo", 3, 3, true, {"1001", "1002"}},
                                           Quitar{"encabezado", 3, 0, false, {"1001", "1002", "1003"}},
                                           Quitar{"fuera", 3, 4, false, {"1001", "1002", "1003"}},
                                           Quitar{"unicoProducto", 1, 1, false, {"1001"}}),
                         [](const ::testing::TestParamInfo<Quitar>& info) {
                             return std::string(info.param.nombre);
                         });

TEST_F(RejillaDeProductos, TheCurrentCellFollowsRowAndColAndFallsBackWhenRowsGo) {
    EXPECT_EQ(grid.Row(), 0) << "with the header alone the current row is the header";
    agregar({"1001", "1002", "1003", "1004"});
    EXPECT_EQ(grid.Row(), 1) << "the first product row becomes current";
    EXPECT_EQ(grid.currentRow(), 0);
    EXPECT_EQ(grid.currentColumn(), 0);

    // Removing a row keeps the row number, now the next product's; removing the last falls back.
    for (const auto& [quitada, fila, actual] : {std::tuple{2, 2, "1003"}, {3, 2, "1003"}}) {
        grid.setRow(quitada);
        grid.RemoveItem(quitada);
        EXPECT_EQ(grid.Row(), fila);
        EXPECT_EQ(grid.currentItem()->text(), QString::fromLatin1(actual));
    }

    grid.setRows(1);
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.currentItem(), nullptr);
}

TEST_F(RejillaDeProductos, MovingInTheGridMovesRowAndCol) {
    agregar({"1001", "1002", "1003"});
    grid.setRow(1);
    grid.setCol(1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.Row(), 2);
    EXPECT_EQ(grid.Col(), 1);
}

TEST_F(RejillaDeProductos, KeyDownSeesTheKeyCodeFirstAndCanSwallowIt) {
    agregar({"1001", "1002", "1003"});
    grid.setRow(1);
    grid.setCol(1);
    QList<qint16> vistas;
    QObject::connect(&grid, &MSFlexGrid::KeyDown, [&](qint16& codigo, qint16 shift) {
        vistas << codigo << shift;
        if (codigo == 40)
            codigo = 0;
    });
    QTest::keyClick(&grid, Qt::Key_Insert);
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(vistas, (QList<qint16>{45, 0, 16, 1, 46, 1, 40, 0})) << "Insert, Shift, Shift+Delete, Down";
    EXPECT_EQ(grid.Row(), 1) << "a swallowed Down arrow must not move the current row";
}

} // namespace
