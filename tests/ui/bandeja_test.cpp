// The notification icon: its record, the tip rule, and the clicks that bring the window back.

#include "shell/clsInicio.h"
#include "shell/frmInicial.h"

#include "ui_impresion.h"
#include <QSystemTrayIcon>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Tip {
    const char* nombre;
    int largo;
};

class ReglaDelTip : public ::testing::TestWithParam<Tip> {};

// The tip field holds the caption and a NUL, padded with spaces; 64 characters or more lose the NUL.
TEST_P(ReglaDelTip, TheCaptionFillsTheSixtyFourCharacterField) {
    const int largo = GetParam().largo;
    Formulario ventana;
    QString titulo;
    for (int i = 0; i < largo; ++i)
        titulo += QChar(u"ABCDEFGHIJñ"[i % 11]);
    ventana.setWindowTitle(titulo);
    clsInicio().PonerSystray(ventana);

    const QByteArray tip(nidBandeja.szTip, sizeof nidBandeja.szTip);
    const QByteArray ansi = titulo.toLatin1();
    if (largo < 64) {
        EXPECT_EQ(tip.left(largo), ansi);
        EXPECT_EQ(tip.at(largo), '\0');
        EXPECT_EQ(tip.mid(largo + 1), QByteArray(63 - largo, ' '));
    } else {
        EXPECT_EQ(tip, ansi.left(64));
    }
    const QSystemTrayIcon* icono = shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1);
    ASSERT_NE(icono, nullptr);
    EXPECT_EQ(icono->toolTip(), titulo.left(64));
    clsInicio().RemoverSystray();
}

INSTANTIATE_TEST_SUITE_P(Titulos, ReglaDelTip,
                         ::testing::Values(Tip{"corto", 12}, Tip{"de63", 63}, Tip{"de64", 64},
                                           Tip{"de90", 90}),
                         [](const auto& info) { return std::string(info.param.nombre); });

TEST(Bandeja, TheRecordNamesTheWindowItsIconAndTheMouseMoveCallback) {
    Formulario ventana;
    ventana.setWindowTitle(QStringLiteral("Actualización de productos en línea   v 1.0.0"));
    ventana.setWindowIcon(QIcon(QStringLiteral(":/imagenes/catalogo-32.png")));
    clsInicio().PonerSystray(ventana);

    EXPECT_EQ(nidBandeja.cbSize, 88u);
    EXPECT_EQ(ventanas::VentanaDe(nidBandeja.hWnd), &ventana);
    EXPECT_EQ(nidBandeja.uID, 1u);
    EXPECT_EQ(nidBandeja.uFlags, 7u);
    EXPECT_EQ(nidBandeja.uCallbackMessage, 512u);
    EXPECT_EQ(ventanas::IconoDe(nidBandeja.hIcon).cacheKey(), ventana.windowIcon().cacheKey());
    EXPECT_EQ(shell_notify::TextoDeTip(nidBandeja), ventana.windowTitle());

    QSystemTrayIcon* icono = shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1);
    ASSERT_NE(icono, nullptr);
    clsInicio().PonerSystray(ventana);
    EXPECT_EQ(shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1), icono) << "a second add keeps the one icon";
    clsInicio().RemoverSystray();
    EXPECT_EQ(shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1), nullptr);
}

struct Clic {
    const char* nombre;
    QSystemTrayIcon::ActivationReason razon;
    bool restaura;
};

// The main window, loaded and gone to the notification area.
class ClicEnElIcono : public ::testing::TestWithParam<Clic> {
protected:
    void SetUp() override { shell_notify::ForzarBandejaDisponible(true); }
    void TearDown() override { shell_notify::ForzarBandejaDisponible(std::nullopt); }
};

TEST_P(ClicEnElIcono, ReleasingTheLeftOrRightButtonBringsTheWindowBack) {
    frmInicial ventana;
    ventana.MostrarAlCargar();
    ASSERT_FALSE(ventana.isVisible());
    QSystemTrayIcon* icono = shell_notify::IconoDeBandeja(ventanas::hWndDe(&ventana), 1);
    ASSERT_NE(icono, nullptr);

    emit icono->activated(GetParam().razon);
    EXPECT_EQ(ventana.isVisible(), GetParam().restaura);
    EXPECT_EQ(ventana.isMinimized(), !GetParam().restaura);
}

INSTANTIATE_TEST_SUITE_P(Botones, ClicEnElIcono,
                         ::testing::Values(Clic{"izquierdo", QSystemTrayIcon::Trigger, true},
                                           Clic{"derecho", QSystemTrayIcon::Context, true},
                                           Clic{"dobleClic", QSystemTrayIcon::DoubleClick, false},
                                           Clic{"central", QSystemTrayIcon::MiddleClick, false}),
                         [](const auto& info) { return std::string(info.param.nombre); });

struct Mensaje {
    const char* nombre;
    qint16 escala;
    float x;
    bool restaura;
};

class MensajeDelRaton : public ::testing::TestWithParam<Mensaje> {};

// The code travels in x, in the window's own units.
TEST_P(MensajeDelRaton, OnlyButtonReleasesRestore) {
    const Mensaje& caso = GetParam();
    Formulario ventana;
    ventana.ScaleMode = caso.escala;
    ventana.setWindowState(Qt::WindowMinimized);
    float x = caso.x * (caso.escala == Formulario::vbTwips ? float(1440.0 / ventana.logicalDpiX()) : 1.0f);
    clsInicio().MouseMove(ventana, 0, 0, x, 0);
    EXPECT_EQ(ventana.isVisible(), caso.restaura);
}

INSTANTIATE_TEST_SUITE_P(
    Codigos, MensajeDelRaton,
    ::testing::Values(Mensaje{"soltarIzquierdoEnTwips", Formulario::vbTwips, 514, true},
                      Mensaje{"soltarDerechoEnTwips", Formulario::vbTwips, 517, true},
                      Mensaje{"redondeadoA514", Formulario::vbTwips, 514.4f, true},
                      Mensaje{"soltarIzquierdoEnPixeles", Formulario::vbPixels, 514, true},
                      Mensaje{"moverEncima", Formulario::vbTwips, 512, false},
                      Mensaje{"pulsarIzquierdo", Formulario::vbTwips, 513, false},
                      Mensaje{"pulsarDerecho", Formulario::vbTwips, 516, false},
                      Mensaje{"redondeadoA515", Formulario::vbTwips, 514.6f, false},
                      Mensaje{"pixelesTomadosPorTwips", Formulario::vbPixels, 514 * 15, false}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(Bandeja, WithoutANotificationAreaTheWindowStaysMinimizedWhereItCanBeFound) {
    shell_notify::ForzarBandejaDisponible(false);
    frmInicial ventana;
    ventana.MostrarAlCargar();
    EXPECT_TRUE(ventana.isVisible());
    EXPECT_TRUE(ventana.isMinimized());
    shell_notify::ForzarBandejaDisponible(std::nullopt);
}

} // namespace
