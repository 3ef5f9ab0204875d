#include "components/EfectosDeVentana.h"

#include "winapi/ventanas.h"

#include <QImage>
#include <QLabel>
#include <QLinearGradient>
#include <QPixmap>

void EfectosDeVentana::PintarSkin(qint32 hDC, QObject* ventana, bool valor) {
    auto* lienzo = qobject_cast<QLabel*>(ventanas::VentanaDe(ventanas::HWND(hDC)));
    auto* destino = qobject_cast<QWidget*>(ventana);
    if (lienzo == nullptr || destino == nullptr || lienzo->pixmap().isNull())
        return;
    const QImage skin = lienzo->pixmap().toImage();

    QLinearGradient degradado(0, 0, 0, 1);
    degradado.setCoordinateMode(QGradient::ObjectBoundingMode);
    degradado.setColorAt(0, skin.pixelColor(0, 0));
    degradado.setColorAt(1, skin.pixelColor(0, skin.height() - 1));

    // A palette set on a window flows down to every control that has none of its own; those that
    // must keep the desktop's colours get their present ones for their own first.
    if (!valor)
        for (QWidget* control : destino->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!control->testAttribute(Qt::WA_SetPalette))
                control->setPalette(control->palette());
    QPalette paleta = destino->palette();
    paleta.setBrush(QPalette::Window, QBrush(degradado));
    destino->setPalette(paleta);
}
