// The notification icon: the window's icon and caption on it, one icon per window, and the record the
// system refuses. Which clicks on it bring the window back is seen in the main window's suite.

#include "entorno.h"
#include "shell/clsInicio.h"
#include "shell/frmInicial.h"

#include <QSystemTrayIcon>
#include <gtest/gtest.h>

namespace {

TEST(Bandeja, TheIconShowsTheWindowsIconAndCaptionAndOneIconStandsForIt) {
    Formulario ventana;
    ventana.setWindowIcon(QIcon(QStringLiteral(":/imagenes/catalogo-32.png")));
    // The tip holds 64 characters: a longer caption is cut, a shorter one must not show the padding.
    for (const int largo : {12, 63, 64, 90}) {
        QString titulo;
        for (int i = 0; i < largo; ++i)
            titulo += QChar(u"ABCDEFGHIJñ"[i % 11]);
        ventana.setWindowTitle(titulo);
        clsInicio().PonerSystray(ventana);
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

} // namespace
