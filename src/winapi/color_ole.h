#pragma once
// OLE colours as the point-of-sale's components pass them: 0x00BBGGRR, or, with the high bit set, the
// index of a system colour (0x80000005 is the window background), which follows the desktop's palette.

#include <QColor>
#include <QtGlobal>

namespace color_ole {
inline constexpr qint32 fondoDeVentana = qint32(0x80000005u); // COLOR_WINDOW
inline constexpr qint32 textoDeVentana = qint32(0x80000008u); // COLOR_WINDOWTEXT
} // namespace color_ole

QColor ColorDeOle(qint32 color);
