// The product grid: the vocabulary the product list editor relies on.

#include "editors/MSFlexGrid.h"
#include "entorno.h"

#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// The grid as the main window sets it up (three columns, header texts) with products 1001, 1002…
std::unique_ptr<MSFlexGrid> rejilla(int productos) {
    auto grid = std::make_unique<MSFlexGrid>();
    grid->setRows(1);
    grid->setCols(3);
    grid->setColWidth(0, 300);
    grid->setColWidth(1, 2500);
    grid->setColWidth(2, 6000);
    grid->setTextMatrix(0, 1, QStringLiteral("Producto"));
    grid->setTextMatrix(0, 2, QStringLiteral("Descripción"));
    for (int i = 1; i <= productos; ++i)
        grid->AddItem(QStringLiteral("\t%1\tProducto %1").arg(1000 + i));
    return grid;
}

TEST(Rejilla, AddItemSplitsTabsIntoColumnsUnderAHeaderThatStaysWhenRowsAreCleared) {
    auto grid = rejilla(1);
    grid->AddItem(QStringLiteral("\t1002\tAzúcar\tsobrante"));
    EXPECT_EQ(grid->TextMatrix(2, 2), QStringLiteral("Azúcar")) << "what has no column is dropped";
    grid->setTextMatrix(0, 0, QStringLiteral("#")); // the corner is a cell of its own
    EXPECT_EQ(QStringList({grid->TextMatrix(0, 0), grid->TextMatrix(2, 0)}), QStringList({"#", ""}));
    EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical).toString(), QString()) << "no row numbers";

    grid->setRows(1);
    EXPECT_EQ(QList<int>({grid->Rows(), grid->Cols()}), QList<int>({1, 3}));
    EXPECT_EQ(QStringList({grid->TextMatrix(0, 1), grid->horizontalHeaderItem(1)->text()}),
              QStringList({"Producto", "Descripción"}));

    // Widths are kept in twips.
    const double twipsPorPixel = 1440.0 / grid->logicalDpiX();
    for (const auto& [columna, pedido] : {std::pair{0, 300}, {1, 2500}, {2, 6000}})
        EXPECT_NEAR(grid->ColWidth(columna), pedido, twipsPorPixel) << "columna " << columna;
    EXPECT_EQ(grid->verticalHeader()->width(), qRound(300 / twipsPorPixel));
}

// Which rows RemoveItem takes out is seen through the product list tab; here, the current row keeps its
// number, now the next product's, and falls back when the last row goes.
TEST(Rejilla, TheCurrentCellFollowsRemovedRows) {
    auto grid = rejilla(0);
    EXPECT_EQ(grid->Row(), 0) << "with the header alone the current row is the header";
    grid = rejilla(4);
    EXPECT_EQ(grid->Row(), 1) << "the first product row becomes current";
    EXPECT_EQ(grid->currentItem()->text(), QStringLiteral("1001")) << "and is the view's current cell";
    for (const int quitada : {2, 3}) {
        grid->setRow(quitada);
        grid->RemoveItem(quitada);
        EXPECT_EQ(grid->Row(), 2);
        EXPECT_EQ(grid->currentItem()->text(), QStringLiteral("1003"));
    }
    grid->setRows(1);
    EXPECT_EQ(grid->Row(), 0);
    EXPECT_EQ(grid->currentItem(), nullptr);
}

TEST(Rejilla, KeyDownSeesTheKeyCodeFirstAndCanSwallowIt) {
    auto grid = rejilla(3);
    grid->setRow(1);
    grid->setCol(1);
    QList<qint16> vistas;
    bool tragar = false;
    QObject::connect(grid.get(), &MSFlexGrid::KeyDown, [&](qint16& codigo, qint16 shift) {
        vistas << codigo << shift;
        if (tragar && codigo == 40)
            codigo = 0;
    });
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(QList<int>({grid->Row(), grid->Col()}), QList<int>({2, 1})) << "moving moves Row and Col";
    tragar = true;
    QTest::keyClick(grid.get(), Qt::Key_Insert);
    QTest::keyClick(grid.get(), Qt::Key_Delete, Qt::ShiftModifier);
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(vistas, (QList<qint16>{40, 0, 45, 0, 16, 1, 46, 1, 40, 0}))
        << "Down, Insert, Shift, Shift+Delete, Down";
    EXPECT_EQ(grid->Row(), 2) << "a swallowed Down arrow must not move the current row";
}

} // namespace
