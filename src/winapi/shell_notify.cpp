#include "winapi/shell_notify.h"

#include "winapi/ansi.h"

#include <QCoreApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cstring>

namespace shell_notify {

using ventanas::IconoDe;
using ventanas::VentanaDe;

namespace {
using Clave = QPair<HWND, quint32>;

QHash<Clave, QPointer<QSystemTrayIcon>>& iconos() {
    static QHash<Clave, QPointer<QSystemTrayIcon>> tabla;
    return tabla;
}

QHash<Clave, int>& globos() {
    static QHash<Clave, int> tabla;
    return tabla;
}

std::optional<bool>& bandejaForzada() {
    static std::optional<bool> forzada;
    return forzada;
}

quint32 mensajeDelRaton(QSystemTrayIcon::ActivationReason razon) {
    switch (razon) {
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONUP;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONUP;
    default:
        return 0;
    }
}

// The system posts the callback message to the window; the only one the program asks for is
// WM_MOUSEMOVE, which the window sees as a mouse move whose x, in pixels, is the mouse message. It
// arrives whether or not the window tracks the mouse (Qt drops a move without buttons otherwise).
void avisarVentana(HWND hWnd, quint32 mensajeDeAviso, quint32 mensaje) {
    const QPointer<QWidget> ventana = VentanaDe(hWnd);
    if (ventana == nullptr || mensajeDeAviso != WM_MOUSEMOVE || mensaje == 0)
        return;
    const QPointF posicion(mensaje, 0);
    QMouseEvent evento(QEvent::MouseMove, posicion, ventana->mapToGlobal(posicion), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
    const bool seguia = ventana->hasMouseTracking();
    ventana->setMouseTracking(true);
    QCoreApplication::sendEvent(ventana.data(), &evento);
    if (!seguia && ventana)
        ventana->setMouseTracking(false);
}

void aplicar(QSystemTrayIcon& icono, const NOTIFYICONDATA& datos) {
    if (datos.uFlags & NIF_ICON)
        icono.setIcon(IconoDe(datos.hIcon));
    if (datos.uFlags & NIF_TIP)
        icono.setToolTip(TextoDeTip(datos));
}
} // namespace

bool Shell_NotifyIconA(quint32 dwMessage, NOTIFYICONDATA* lpData) {
    if (lpData == nullptr || lpData->cbSize != sizeof(NOTIFYICONDATA))
        return false;
    const Clave clave(lpData->hWnd, lpData->uID);
    QPointer<QSystemTrayIcon> existente = iconos().value(clave);

    switch (dwMessage) {
    case NIM_ADD: {
        QWidget* ventana = VentanaDe(lpData->hWnd);
        if (existente || ventana == nullptr)
            return false;
        auto* icono = new QSystemTrayIcon(ventana);
        aplicar(*icono, *lpData);
        if (lpData->uFlags & NIF_MESSAGE) {
            const HWND hWnd = lpData->hWnd;
            const quint32 aviso = lpData->uCallbackMessage;
            QObject::connect(icono, &QSystemTrayIcon::activated, icono,
                             [hWnd, aviso](QSystemTrayIcon::ActivationReason razon) {
                                 avisarVentana(hWnd, aviso, mensajeDelRaton(razon));
                             });
        }
        iconos().insert(clave, icono);
        icono->show();
        return true;
    }
    case NIM_MODIFY:
        if (!existente)
            return false;
        aplicar(*existente, *lpData);
        return true;
    case NIM_DELETE:
        iconos().remove(clave);
        if (!existente)
            return false;
        existente->hide();
        delete existente.data();
        return true;
    default:
        return false;
    }
}

bool MostrarGlobo(HWND hWnd, quint32 uID, const QString& titulo, const QString& texto) {
    QSystemTrayIcon* icono = IconoDeBandeja(hWnd, uID);
    if (icono == nullptr)
        return false;
    icono->showMessage(titulo, texto, QSystemTrayIcon::Warning);
    ++globos()[Clave(hWnd, uID)];
    return true;
}

int GlobosMostrados(HWND hWnd, quint32 uID) {
    return globos().value(Clave(hWnd, uID));
}

QString TextoDeTip(const NOTIFYICONDATA& datos) {
    const auto* fin = static_cast<const char*>(std::memchr(datos.szTip, '\0', sizeof datos.szTip));
    const qsizetype largo = fin != nullptr ? fin - datos.szTip : qsizetype(sizeof datos.szTip);
    return desdeAnsi(QByteArray(datos.szTip, largo));
}

QSystemTrayIcon* IconoDeBandeja(HWND hWnd, quint32 uID) {
    return iconos().value(Clave(hWnd, uID));
}

bool BandejaDisponible() {
    if (bandejaForzada())
        return *bandejaForzada();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void ForzarBandejaDisponible(std::optional<bool> disponible) {
    bandejaForzada() = disponible;
}

} // namespace shell_notify
