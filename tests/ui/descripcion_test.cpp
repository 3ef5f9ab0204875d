// The description window: its menu, its read-only text about the program, and the text box that
// follows the window's size.

#include "shell/frmDescripcion.h"
#include "shell/twips.h"
#include "tienda_en_ventana.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextEdit>
#include <stdexcept>

namespace {

class Descripcion : public TiendaEnVentana {
protected:
    frmDescripcion& abrir() {
        cargar({});
        QTest::keyClick(ventana.get(), Qt::Key_F1);
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<frmDescripcion*>(w); d != nullptr && d->isVisible())
                return *d;
        ADD_FAILURE() << "F1 opened no description window";
        throw std::runtime_error("sin ventana");
    }
};

TEST_F(Descripcion, ItsMenuOffersTheDescriptionAndTheSettingsFile) {
    frmDescripcion& d = abrir();
    auto* mnUno = d.findChild<QMenu*>(QStringLiteral("mnUno"));
    ASSERT_NE(mnUno, nullptr);
    EXPECT_EQ(mnUno->title(), QStringLiteral("Uno"));
    QStringList entradas;
    for (QAction* a : mnUno->actions())
        entradas << a->objectName() + QLatin1Char('=') + a->text();
    EXPECT_EQ(entradas, QStringList({"mnDescrip=Descripción del programa",
                                     "mnEditINI=Editar archivo INI de configuración"}));

    auto* rtbTexto = d.findChild<QTextEdit*>(QStringLiteral("rtbTexto"));
    ASSERT_NE(rtbTexto, nullptr);
    EXPECT_TRUE(rtbTexto->isReadOnly());
    for (const char* tema : {"Enviar ahora", "ListaProductosReja.dat", "ListaDeCampos.dat", "Insert", "Supr"})
        EXPECT_TRUE(rtbTexto->toPlainText().contains(QString::fromUtf8(tema))) << tema;

    d.hide();
    d.findChild<QAction*>(QStringLiteral("mnDescrip"))->trigger();
    EXPECT_TRUE(d.isVisible());
}

TEST_F(Descripcion, TheTextBoxFollowsTheWindowSizeAndNeverGoesNegative) {
    frmDescripcion& d = abrir();
    auto* rtbTexto = d.findChild<QTextEdit*>(QStringLiteral("rtbTexto"));
    d.resize(700, 500);
    EXPECT_EQ(rtbTexto->width(), PixelesX(d.Width() - 260));
    EXPECT_EQ(rtbTexto->height(), PixelesY(d.Height() - 600));
    EXPECT_LE(rtbTexto->geometry().right(), d.width());
    EXPECT_LE(rtbTexto->geometry().bottom(), d.height());

    d.resize(10, 10);
    EXPECT_EQ(rtbTexto->size(), QSize(0, 0));
}

} // namespace
