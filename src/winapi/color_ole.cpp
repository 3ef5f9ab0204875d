#include "winapi/color_ole.h"

#include <QGuiApplication>
#include <QPalette>

QColor ColorDeOle(qint32 color) {
    const auto valor = quint32(color);
    if ((valor & 0x80000000u) == 0)
        return QColor(int(valor & 0xFF), int((valor >> 8) & 0xFF), int((valor >> 16) & 0xFF));

    // The system colours the program's controls use; any other index reads as the window colour.
    const QPalette paleta = QGuiApplication::palette();
    switch (valor & 0xFFu) {
    case 5: // COLOR_WINDOW
        return paleta.color(QPalette::Base);
    case 8: // COLOR_WINDOWTEXT
        return paleta.color(QPalette::Text);
    case 13: // COLOR_HIGHLIGHT
        return paleta.color(QPalette::Highlight);
    case 14: // COLOR_HIGHLIGHTTEXT
        return paleta.color(QPalette::HighlightedText);
    case 15: // COLOR_BTNFACE
        return paleta.color(QPalette::Button);
    case 18: // COLOR_BTNTEXT
        return paleta.color(QPalette::ButtonText);
    default:
        return paleta.color(QPalette::Window);
    }
}
