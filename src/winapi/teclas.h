#pragma once
// Keys in the point-of-sale's vocabulary: the handlers of the windows and components speak of key codes
// (112 is F1, 45 Insert) and of a shift state (1 Shift, 2 Ctrl, 4 Alt).

#include <QtGlobal>
#include <qnamespace.h>

class QKeyEvent;
class QWidget;

namespace tecla {
inline constexpr qint16 vbKeyInsert = 45;
inline constexpr qint16 vbKeyDelete = 46;
inline constexpr qint16 vbKeyF1 = 112;
inline constexpr qint16 vbKeyF4 = 115;
inline constexpr qint16 vbShiftMask = 1;
inline constexpr qint16 vbCtrlMask = 2;
inline constexpr qint16 vbAltMask = 4;
} // namespace tecla

// The key code of a key press; 0 for a key that has none.
qint16 CodigoDeTecla(const QKeyEvent& evento);
qint16 EstadoShift(Qt::KeyboardModifiers modificadores);

// Enter on a focused button of the window presses it, as on Windows (Qt leaves that to dialogs): the
// chain of Enter from box to box ends on a button, and one more Enter does what the button says.
void EnterPulsaBotones(QWidget& ventana);
