#include "components/CajaDeMensaje.h"

#include <QMessageBox>
#include <QPushButton>
#include <QVector>

namespace {
struct Boton {
    QMessageBox::StandardButton boton;
    const char* texto;
    quint8 respuesta;
};

const Boton aceptar{QMessageBox::Ok, "Aceptar", 1};
const Boton cancelar{QMessageBox::Cancel, "Cancelar", 2};
const Boton anular{QMessageBox::Abort, "Anular", 3};
const Boton reintentar{QMessageBox::Retry, "Reintentar", 4};
const Boton omitir{QMessageBox::Ignore, "Omitir", 5};
const Boton si{QMessageBox::Yes, "Sí", 6};
const Boton no{QMessageBox::No, "No", 7};

// The buttons of each style code, in the order they are shown.
QVector<Boton> botonesDe(qint32 estilo) {
    switch (estilo & 0x7) {
    case 1:
        return {aceptar, cancelar};
    case 2:
        return {anular, reintentar, omitir};
    case 3:
        return {si, no, cancelar};
    case 4:
        return {si, no};
    case 5:
        return {reintentar, cancelar};
    default:
        return {aceptar};
    }
}

QMessageBox::Icon iconoDe(qint32 estilo) {
    switch (estilo & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case 48:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}
} // namespace

quint8 MostrarCajaDeMensaje(QWidget* dueno, const QString& texto, qint32 estilo, const QString& titulo) {
    QMessageBox caja(iconoDe(estilo), titulo, texto, QMessageBox::NoButton, dueno);
    const QVector<Boton> botones = botonesDe(estilo);
    for (const Boton& b : botones)
        caja.addButton(b.boton)->setText(QString::fromUtf8(b.texto));
    const int porDefecto = (estilo >> 8) & 0x3;
    caja.setDefaultButton(botones.value(porDefecto, botones.first()).boton);
    if (botones.size() == 1)
        caja.setEscapeButton(botones.first().boton);

    const auto pulsado = QMessageBox::StandardButton(caja.exec());
    for (const Boton& b : botones)
        if (b.boton == pulsado)
            return b.respuesta;
    // Closed without a button, as the platform's box answers then.
    return cancelar.respuesta;
}
