#pragma once
// 32-bit handles for windows and icons. The notification-icon record and the components take handles,
// not objects, in fields 32 bits wide; these tables turn a window or its icon into such a handle and
// back. A handle stays valid while its window lives and is never reused for another window.

#include <QIcon>
#include <QtGlobal>

class QWidget;

// In a namespace of its own: the Windows SDK declares HWND, HICON and SetForegroundWindow too.
namespace ventanas {

using HWND = quint32;
using HICON = quint32;

// The handle of a window (or of any widget, such as a picture box); 0 for none.
HWND hWndDe(QWidget* ventana);
// The window of a handle; null when it was never given or its window is gone.
QWidget* VentanaDe(HWND hWnd);

// A handle for the icon a window shows now.
HICON hIconDe(QWidget* ventana);
QIcon IconoDe(HICON hIcon);

// Brings the window to the front and gives it the keyboard; false when the handle has no window.
bool SetForegroundWindow(HWND hWnd);

} // namespace ventanas
