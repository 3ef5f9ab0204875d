// The notification icon: its record, the tip rule, and the clicks that bring the window back.

#include "entorno.h"
#include "shell/clsInicio.h"
#include "shell/frmInicial.h"

#include <QSystemTrayIcon>
#include <gtest/gtest.h>

namespace {

TEST(Bandeja, TheIconShowsTheWindowsIconAndCaptionAndOneIconStandsForIt) {
    Formulario ventana;
    ventana.setWindowIcon(QIcon(QStringLiteral(":/imagenes/catalogo-32.png")));
    // The tip field holds the caption and a NUL, padded with spaces; 64 characters or more lose the NUL.
    for (const int largo : {12, 63, 64, 90}) {
        QString titulo;
        for (int i = 0; i < largo; ++i)
            titulo += QChar(u"ABCDEFGHIJñ"[i % 11]);
        ventana.setWindowTitle(titulo);
        clsInicio().PonerSystray(ventana);
        const QByteArray ansi = titulo.toLatin1();
        EXPECT_EQ(QByteArray(nidBandeja.szTip, sizeof nidBandeja.szTip),
                  largo < 64 ? ansi + '\0' + QByteArray(63 - largo, ' ') : ansi.left(64));
        ASSERT_NE(shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1), nullptr);
        EXPECT_EQ(shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1)->toolTip(), titulo.left(64));
        clsInicio().RemoverSystray();
        EXPECT_EQ(shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1), nullptr);
    }

    clsInicio().PonerSystray(ventana);
    EXPECT_EQ(ventanas::VentanaDe(nidBandeja.hWnd), &ventana);
    EXPECT_EQ(ventanas::IconoDe(nidBandeja.hIcon).cacheKey(), ventana.windowIcon().cacheKey());
    QSystemTrayIcon* icono = shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1);
    clsInicio().PonerSystray(ventana);
    EXPECT_EQ(shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1), icono) << "a second add keeps the one icon";
    clsInicio().RemoverSystray();

    // A record of another size is refused, as the system refuses it.
    shell_notify::NOTIFYICONDATA otro = nidBandeja;
    otro.cbSize = 0;
    EXPECT_FALSE(shell_notify::Shell_NotifyIconA(NIM_ADD, &otro));
    EXPECT_EQ(shell_notify::IconoDeBandeja(nidBandeja.hWnd, 1), nullptr);
    EXPECT_FALSE(shell_notify::Shell_NotifyIconA(NIM_ADD, nullptr));
}

// The code travels in x, in the window's own units: only button releases restore.
TEST(Bandeja, TheMouseMessageRestoresTheWindowOnlyOnAButtonRelease) {
    const struct {
        const char* nombre;
        qint16 escala;
        float x;
        bool restaura;
    } casos[] = {{"soltarIzquierdoEnTwips", Formulario::vbTwips, 514, true},
                 {"soltarDerechoEnTwips", Formulario::vbTwips, 517, true},
                 {"redondeadoA514", Formulario::vbTwips, 514.4f, true},
                 {"soltarIzquierdoEnPixeles", Formulario::vbPixels, 514, true},
                 {"moverEncima", Formulario::vbTwips, 512, false},
                 {"pulsarIzquierdo", Formulario::vbTwips, 513, false},
                 {"redondeadoA515", Formulario::vbTwips, 514.6f, false},
                 {"pixelesTomadosPorTwips", Formulario::vbPixels, 514 * 15, false}};
    for (const auto& caso : casos) {
        Formulario ventana;
        ventana.ScaleMode = caso.escala;
        ventana.setWindowState(Qt::WindowMinimized);
        float x =
            caso.x * (caso.escala == Formulario::vbTwips ? float(1440.0 / ventana.logicalDpiX()) : 1.0f);
        clsInicio().MouseMove(ventana, 0, 0, x, 0);
        EXPECT_EQ(ventana.isVisible(), caso.restaura) << caso.nombre;
    }
}

} // namespace
