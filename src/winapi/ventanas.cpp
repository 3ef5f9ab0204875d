#include "winapi/ventanas.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

namespace {
using ventanas::HICON;
using ventanas::HWND;

struct Tablas {
    QHash<const QWidget*, HWND> manejadores;
    QHash<HWND, QPointer<QWidget>> ventanas;
    QHash<qint64, HICON> iconosPorClave;
    QHash<HICON, QIcon> iconos;
    quint32 siguiente = 0;
};

Tablas& tablas() {
    static Tablas t;
    return t;
}

// Handles look like the system's: small multiples of 4, never 0.
quint32 nuevoManejador() {
    tablas().siguiente += 4;
    return tablas().siguiente;
}
} // namespace

namespace ventanas {

HWND hWndDe(QWidget* ventana) {
    if (ventana == nullptr)
        return 0;
    Tablas& t = tablas();
    if (const auto encontrado = t.manejadores.constFind(ventana); encontrado != t.manejadores.constEnd())
        return *encontrado;
    const HWND hWnd = nuevoManejador();
    t.manejadores.insert(ventana, hWnd);
    t.ventanas.insert(hWnd, ventana);
    QObject::connect(ventana, &QObject::destroyed, [ventana] { tablas().manejadores.remove(ventana); });
    return hWnd;
}

QWidget* VentanaDe(HWND hWnd) {
    return tablas().ventanas.value(hWnd);
}

HICON hIconDe(QWidget* ventana) {
    if (ventana == nullptr)
        return 0;
    const QIcon icono = ventana->windowIcon();
    Tablas& t = tablas();
    if (const auto encontrado = t.iconosPorClave.constFind(icono.cacheKey());
        encontrado != t.iconosPorClave.constEnd())
        return *encontrado;
    const HICON hIcon = nuevoManejador();
    t.iconosPorClave.insert(icono.cacheKey(), hIcon);
    t.iconos.insert(hIcon, icono);
    return hIcon;
}

QIcon IconoDe(HICON hIcon) {
    return tablas().iconos.value(hIcon);
}

bool SetForegroundWindow(HWND hWnd) {
    QWidget* ventana = VentanaDe(hWnd);
    if (ventana == nullptr)
        return false;
    ventana->raise();
    ventana->activateWindow();
    return true;
}

} // namespace ventanas
