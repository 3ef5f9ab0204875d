#include "shell/clsInicio.h"

#include "components/WScriptShell.h"
#include "modulo/Rutinas.h"
#include "shell/Formulario.h"
#include "winapi/ansi.h"
#include "winapi/twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSystemTrayIcon>
#include <cmath>
#include <cstring>

shell_notify::NOTIFYICONDATA nidBandeja{};

void LlenarTip(shell_notify::NOTIFYICONDATA& datos, const QString& titulo) {
    QByteArray tip = aAnsi(titulo);
    tip.append('\0');
    tip = tip.leftJustified(sizeof datos.szTip, ' ', true);
    std::memcpy(datos.szTip, tip.constData(), sizeof datos.szTip);
}

void clsInicio::MouseMove(Formulario& Forrm, qint16, qint16, float& X, float) {
    const double pixeles = Forrm.ScaleMode == Formulario::vbPixels ? X : X / TwipsPorPixelX();
    const auto mensaje = std::lround(pixeles);
    if (mensaje == WM_LBUTTONUP || mensaje == WM_RBUTTONUP)
        Restaurar(Forrm);
}

void clsInicio::Restaurar(Formulario& Forrm) {
    Forrm.setWindowState(Qt::WindowNoState);
    ventanas::SetForegroundWindow(ventanas::hWndDe(&Forrm));
    Forrm.show();
    if (QWidget* contenedor = Forrm.findChild<QWidget*>(QStringLiteral("Picture1"));
        contenedor && contenedor->isVisible())
        contenedor->setFocus();
}

void clsInicio::PonerSystray(Formulario& Forrm) {
    nidBandeja.cbSize = sizeof(shell_notify::NOTIFYICONDATA);
    nidBandeja.hWnd = ventanas::hWndDe(&Forrm);
    nidBandeja.uID = 1;
    nidBandeja.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nidBandeja.uCallbackMessage = WM_MOUSEMOVE;
    nidBandeja.hIcon = ventanas::hIconDe(&Forrm);
    LlenarTip(nidBandeja, Forrm.windowTitle());
    shell_notify::Shell_NotifyIconA(NIM_ADD, &nidBandeja);
}

void clsInicio::RemoverSystray() {
    shell_notify::Shell_NotifyIconA(NIM_DELETE, &nidBandeja);
}

void clsInicio::MostrarEnvio(Formulario& Forrm, const QString& linea, bool avisar) {
    // Straight to the icon: the record's tip holds 63 characters, too few for a server's reply.
    if (QSystemTrayIcon* icono = shell_notify::IconoDeBandeja(nidBandeja.hWnd, nidBandeja.uID))
        icono->setToolTip(Forrm.windowTitle() + QLatin1Char('\n') + linea);
    if (avisar)
        shell_notify::MostrarGlobo(nidBandeja.hWnd, nidBandeja.uID, Forrm.windowTitle(), linea);
}

void clsInicio::SiRegistrado(QString& stArchivo) {
    std::unique_ptr<WScriptShell> shell;
    if (!CreaObjeto(shell, QStringLiteral("Shell"), QStringLiteral("WScript")))
        return;
    const QString valor = stArchivo.mid(1);
    const QString nombre =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\") + valor;
    const QString esperado =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/') + valor);
    if (shell->RegRead(nombre) != esperado)
        shell->RegWrite(nombre, esperado);
}
