#pragma once
// The "Configuración" tab: its seven boxes pass their focus and keys through the skin component (the
// mask of each box decides what may be typed), the interval box accepts 0 to 9999 only, and "Grabar"
// stores the boxes the user changed as `catalogo-ftp configurar` stores its options, then reads the
// settings back onto the window.

#include "config/Configuracion.h"

#include <QObject>
#include <array>

class QLineEdit;
class QPushButton;

class PestanaDeConfiguracion : public QObject {
    Q_OBJECT

public:
    // Works on the boxes txtDato_0 … txtDato_6; `cmdCancelar` is the tab's way out, which leaves the box
    // it hides unchecked.
    PestanaDeConfiguracion(const std::array<QLineEdit*, 7>& txtDato, QPushButton* cmdCancelar,
                           QObject* parent);

    void cmdGrabar_Click();
    // Box 1: an interval from 0 to 9999 minutes; anything else beeps, and the caller keeps the focus in
    // the box.
    bool txtDato_Validate(qint16 Index);

signals:
    // Stored: back to the "Principal" tab, as "Cancelar" goes.
    void volverAPrincipal();
    // The settings were read back after a save, for the window to show.
    void configuracionLeida();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    // What the program filled the boxes with: box 0 and 1 at start-up, the others from the settings.
    static CajasDeConfiguracion mostradas();
    qint16 indiceDe(QObject* objeto) const;
    bool txtDato_KeyDown(qint16 Index, qint16& KeyCode);
    bool txtDato_KeyPress(qint16 Index, qint16& KeyAscii);

    std::array<QLineEdit*, 7> txtDato;
    QPushButton* cmdCancelar;
};
