#pragma once
// The notification-area icon: the system's 88-byte NOTIFYICONDATA record, handed to Shell_NotifyIconA,
// drives a QSystemTrayIcon. A release of the left or right button on the icon reaches the record's
// window as its callback message with the mouse message's code in x (WM_LBUTTONUP 514, WM_RBUTTONUP 517),
// the way the system reports it.

#include "winapi/ventanas.h"

#include <QString>
#include <QtGlobal>
#include <optional>

class QSystemTrayIcon;

// The commands, flags and mouse messages keep the system's names. The Windows SDK makes these names
// macros, which no namespace can hold, so they stay outside one and are written unqualified; where the
// SDK's header came first its macros (of the same values) stand in their place.
#ifndef NIM_ADD
inline constexpr quint32 NIM_ADD = 0;
inline constexpr quint32 NIM_MODIFY = 1;
inline constexpr quint32 NIM_DELETE = 2;
inline constexpr quint32 NIF_MESSAGE = 1;
inline constexpr quint32 NIF_ICON = 2;
inline constexpr quint32 NIF_TIP = 4;
#endif

#ifndef WM_MOUSEMOVE
inline constexpr quint32 WM_MOUSEMOVE = 0x200;
inline constexpr quint32 WM_LBUTTONUP = 0x202;
inline constexpr quint32 WM_LBUTTONDBLCLK = 0x203;
inline constexpr quint32 WM_RBUTTONUP = 0x205;
inline constexpr quint32 WM_MBUTTONUP = 0x208;
#endif

// In a namespace of its own: the Windows SDK declares NOTIFYICONDATA and Shell_NotifyIconA too.
namespace shell_notify {

using ventanas::HICON;
using ventanas::HWND;

struct NOTIFYICONDATA {
    quint32 cbSize;
    HWND hWnd;
    quint32 uID;
    quint32 uFlags;
    quint32 uCallbackMessage;
    HICON hIcon;
    char szTip[64]; // ANSI text
};
static_assert(sizeof(NOTIFYICONDATA) == 88, "the record keeps the system's layout");

// Adds, changes or deletes the icon of (hWnd, uID). As on the system, adding an icon that exists fails
// and leaves it as it is; so do changing or deleting one that does not.
bool Shell_NotifyIconA(quint32 dwMessage, NOTIFYICONDATA* lpData);

// A balloon from the icon of (hWnd, uID), the desktop's own notification: nobody has to answer it, so a
// send on the timer never waits on a person. False when there is no such icon.
bool MostrarGlobo(HWND hWnd, quint32 uID, const QString& titulo, const QString& texto);
// How many balloons that icon has raised; a test cannot see them on an offscreen desktop.
int GlobosMostrados(HWND hWnd, quint32 uID);

// The tip as the record holds it, up to its NUL.
QString TextoDeTip(const NOTIFYICONDATA& datos);

// The icon standing for (hWnd, uID); null when there is none.
QSystemTrayIcon* IconoDeBandeja(HWND hWnd, quint32 uID);

// Whether the desktop has a notification area. Where it has none a window that hides itself there
// could never be found again, so callers minimize it instead.
bool BandejaDisponible();
// Tests decide it themselves, to follow both roads offscreen; nullopt gives the answer back to the desktop.
void ForzarBandejaDisponible(std::optional<bool> disponible);

} // namespace shell_notify
