#include "config/PestanaDeConfiguracion.h"

#include "config/ComprobacionesDeConfigurar.h"
#include "config/Configuracion.h"
#include "modulo/Modulo.h"
#include "modulo/Redondeo.h"
#include "modulo/Rutinas.h"
#include "winapi/teclas.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr qint16 kEnter = 13;
constexpr qint16 kTab = 9;

QString mascaraDe(qint16 Index) {
    switch (Index) {
    case 0:
        return QStringLiteral("¡"); // database names in small letters
    case 1:
        return QStringLiteral("9");
    case 2:
    case 3:
    case 4:
    case 5:
    case 6:
        return QStringLiteral("X");
    default:
        return QStringLiteral("!");
    }
}
} // namespace

PestanaDeConfiguracion::PestanaDeConfiguracion(const std::array<QLineEdit*, 7>& txtDato,
                                               QPushButton* cmdCancelar, QObject* parent)
    : QObject(parent), txtDato(txtDato), cmdCancelar(cmdCancelar) {
    for (QLineEdit* caja : txtDato)
        caja->installEventFilter(this);
}

void PestanaDeConfiguracion::cmdGrabar_Click() {
    // The interval box is checked before anything is stored, as leaving it would check it.
    if (!txtDato_Validate(1)) {
        txtDato[1]->setFocus();
        return;
    }
    CajasDeConfiguracion cajas;
    for (qint16 i = 0; i < 7; ++i)
        cajas[size_t(i)] = txtDato[size_t(i)]->text();
    // The same refusals as `configurar`: an export named like the settings file would be overwritten by
    // the first send. The tab stays open with what was typed, to be corrected.
    if (QString rechazo; !sePuedenGrabar(cajas, modulo().cCarpeta, modulo().cNombre, &rechazo)) {
        rechazo[0] = rechazo[0].toUpper();
        Mensaje(rechazo + QLatin1Char('.'), estilo::vbExclamation + estilo::vbOKOnly,
                QStringLiteral("Atención"));
        return;
    }
    // Only what the user changed is written: a setting shown empty because this user cannot decipher it
    // keeps what it holds.
    if (QString error; !GrabarAjustes(cambiosDe(cajas, mostradas()), &error)) {
        Mensaje(QStringLiteral("No se pudo grabar la configuración: %1.").arg(error),
                estilo::vbCritical + estilo::vbOKOnly, QStringLiteral("Atención"));
        return;
    }
    emit volverAPrincipal();
    // Back from the file: a folder saved without its final "/" shows it now.
    LeeConfiguracion();
    emit configuracionLeida();
    if (const QStringList ilegibles = ilegiblesDeLaConfiguracion(); !ilegibles.isEmpty()) {
        QString aviso =
            TextoDeIlegibles(ilegibles) + QStringLiteral("; lo guardado se conserva tal como estaba.");
        aviso[0] = aviso[0].toUpper();
        Mensaje(aviso, estilo::vbExclamation + estilo::vbOKOnly, QStringLiteral("Atención"));
    }
}

CajasDeConfiguracion PestanaDeConfiguracion::mostradas() {
    const Modulo& m = modulo();
    return {m.oBasesDD ? m.oBasesDD->cMiBase : QString(),
            QString::number(m.nIntervalo),
            m.cArchivoFTP,
            m.cUsuarioFTP,
            m.cURLFTP,
            m.cClaveFTP,
            m.cDirectorioFTP};
}

bool PestanaDeConfiguracion::txtDato_Validate(qint16 Index) {
    if (Index != 1)
        return true;
    const std::optional<qint16> valor = entero16(modulo().oKtfa->nxVal(txtDato[1]->text()));
    if (valor && *valor >= 0 && *valor <= 9999)
        return true;
    QApplication::beep();
    return false;
}

qint16 PestanaDeConfiguracion::indiceDe(QObject* objeto) const {
    for (qint16 i = 0; i < 7; ++i)
        if (txtDato[i] == objeto)
            return i;
    return -1;
}

bool PestanaDeConfiguracion::txtDato_KeyDown(qint16 Index, qint16& KeyCode) {
    const qint16 antes = KeyCode;
    modulo().oKtfa->Teclas(KeyCode);
    if (KeyCode == antes)
        return false;
    // The component turned Enter into Tab: on to the next box, as the point of sale's forms do.
    if (antes == kEnter && KeyCode == kTab) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(txtDato[Index], &tab);
    }
    return true;
}

bool PestanaDeConfiguracion::txtDato_KeyPress(qint16 Index, qint16& KeyAscii) {
    QString mascara = mascaraDe(Index);
    const qint16 antes = KeyAscii;
    modulo().oKtfa->Enter(KeyAscii, mascara);
    if (KeyAscii == antes)
        return false;
    if (KeyAscii != 0)
        txtDato[Index]->insert(QString(QChar(char16_t(quint16(KeyAscii)))));
    return true;
}

bool PestanaDeConfiguracion::eventFilter(QObject* objeto, QEvent* evento) {
    const qint16 Index = indiceDe(objeto);
    if (Index < 0)
        return QObject::eventFilter(objeto, evento);
    switch (evento->type()) {
    case QEvent::FocusIn:
        modulo().oKtfa->Resalta(objeto);
        break;
    case QEvent::FocusOut: {
        // Moving on within the window checks the box; the window losing the focus does not, nor does
        // "Cancelar", the way out that keeps what was typed: the box it hides must not take the focus
        // back.
        const Qt::FocusReason razon = static_cast<QFocusEvent*>(evento)->reason();
        if ((razon == Qt::TabFocusReason || razon == Qt::BacktabFocusReason ||
             razon == Qt::MouseFocusReason) &&
            QApplication::focusWidget() != cmdCancelar && !txtDato_Validate(Index)) {
            // The focus is on its way elsewhere: bring it back once it has arrived.
            QTimer::singleShot(0, txtDato[Index], [caja = txtDato[Index]] { caja->setFocus(); });
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        qint16 KeyCode = CodigoDeTecla(*tecla);
        if (txtDato_KeyDown(Index, KeyCode))
            return true;
        if (tecla->text().size() == 1) {
            qint16 KeyAscii = qint16(tecla->text().at(0).unicode());
            if (txtDato_KeyPress(Index, KeyAscii))
                return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(objeto, evento);
}
