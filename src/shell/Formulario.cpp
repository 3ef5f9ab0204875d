#include "shell/Formulario.h"

#include "winapi/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>

namespace {
// The size the desktop's frame adds to a window. It is known only once a window is on screen; until
// then a window is taken to have the frame the last framed window had.
QSize marcoDe(const QWidget& ventana) {
    static QSize ultimo(0, 0);
    const QSize marco = ventana.frameGeometry().size() - ventana.size();
    if (marco.isNull())
        return ultimo;
    ultimo = marco;
    return marco;
}
} // namespace

Formulario::Formulario(QWidget* parent) : QWidget(parent, Qt::Window) {}

float Formulario::Left() const {
    return float(frameGeometry().x() * TwipsPorPixelX());
}

float Formulario::Top() const {
    return float(frameGeometry().y() * TwipsPorPixelY());
}

float Formulario::Width() const {
    return float((width() + marcoDe(*this).width()) * TwipsPorPixelX());
}

float Formulario::Height() const {
    return float((height() + marcoDe(*this).height()) * TwipsPorPixelY());
}

void Formulario::Move(float izquierda, float arriba) {
    move(PixelesX(izquierda), PixelesY(arriba));
}

void Formulario::Resize(float ancho, float alto) {
    const QSize marco = marcoDe(*this);
    resize(PixelesX(ancho) - marco.width(), PixelesY(alto) - marco.height());
}

void Formulario::TamanoDeDiseno(float anchoInterior, float altoInterior) {
    resize(QSize(PixelesX(anchoInterior), PixelesY(altoInterior)).expandedTo(minimumSizeHint()));
}

void Formulario::Centrar() {
    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), pantalla->availableGeometry()));
}
