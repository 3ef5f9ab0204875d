#include "winapi/teclas.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

class EnterEnBoton : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::KeyPress) {
            const int k = static_cast<QKeyEvent*>(evento)->key();
            auto* boton = qobject_cast<QAbstractButton*>(objeto);
            if (boton != nullptr && (k == Qt::Key_Return || k == Qt::Key_Enter)) {
                boton->click();
                return true;
            }
        }
        return QObject::eventFilter(objeto, evento);
    }
};

} // namespace

void EnterPulsaBotones(QWidget& ventana) {
    auto* filtro = new EnterEnBoton(&ventana);
    for (QAbstractButton* boton : ventana.findChildren<QAbstractButton*>())
        boton->installEventFilter(filtro);
}

qint16 CodigoDeTecla(const QKeyEvent& evento) {
    const int k = evento.key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9))
        return qint16(k); // same codes as the ASCII capitals and digits
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return qint16(k - Qt::Key_F1 + tecla::vbKeyF1);
    switch (k) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return tecla::vbKeyInsert;
    case Qt::Key_Delete:
        return tecla::vbKeyDelete;
    default:
        return 0;
    }
}

qint16 EstadoShift(Qt::KeyboardModifiers modificadores) {
    qint16 estado = 0;
    if (modificadores & Qt::ShiftModifier)
        estado |= tecla::vbShiftMask;
    if (modificadores & Qt::ControlModifier)
        estado |= tecla::vbCtrlMask;
    if (modificadores & Qt::AltModifier)
        estado |= tecla::vbAltMask;
    return estado;
}
