#include "winapi/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {
constexpr double twipsPorPulgada = 1440.0;

double twipsPorPixel(bool horizontal) {
    const QScreen* pantalla = QGuiApplication::primaryScreen();
    if (pantalla == nullptr)
        return twipsPorPulgada / 96.0;
    return twipsPorPulgada / (horizontal ? pantalla->logicalDotsPerInchX() : pantalla->logicalDotsPerInchY());
}
} // namespace

double TwipsPorPixelX() {
    return twipsPorPixel(true);
}

double TwipsPorPixelY() {
    return twipsPorPixel(false);
}

int PixelesX(double twips) {
    return int(std::lround(twips / TwipsPorPixelX()));
}

int PixelesY(double twips) {
    return int(std::lround(twips / TwipsPorPixelY()));
}
