#include "shell/frmDescripcion.h"

#include "modulo/Modulo.h"
#include "resources/Recursos.h"
#include "shell/Ventana.h"
#include "winapi/twips.h"

#include <QCloseEvent>
#include <QFile>
#include <QMenuBar>
#include <QTextEdit>

namespace {
// Room the text box leaves inside the window's outer size, and its margin from the top-left corner.
constexpr double anchoLibre = 260;
constexpr double altoLibre = 600;
constexpr double margen = 60;

QString textoDeDescripcion() {
    iniciarRecursos();
    QFile archivo(QStringLiteral(":/textos/descripcion.html"));
    return archivo.open(QIODevice::ReadOnly) ? QString::fromUtf8(archivo.readAll()) : QString();
}
} // namespace

frmDescripcion::frmDescripcion(QWidget* parent)
    : Formulario(parent), menu(new QMenuBar(this)), rtbTexto(new QTextEdit(this)) {
    setObjectName(QStringLiteral("frmDescripcion"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Descripción del programa"));
    setWindowIcon(IconoDelPrograma());

    QMenu* mnUno = menu->addMenu(QStringLiteral("Uno"));
    mnUno->setObjectName(QStringLiteral("mnUno"));
    QAction* mnDescrip = mnUno->addAction(QStringLiteral("Descripción del programa"));
    mnDescrip->setObjectName(QStringLiteral("mnDescrip"));
    QAction* mnEditINI = mnUno->addAction(QStringLiteral("Editar archivo INI de configuración"));
    mnEditINI->setObjectName(QStringLiteral("mnEditINI"));
    connect(mnDescrip, &QAction::triggered, this, &frmDescripcion::mnDescrip_Click);
    connect(mnEditINI, &QAction::triggered, this, &frmDescripcion::mnEditINI_Click);

    rtbTexto->setObjectName(QStringLiteral("rtbTexto"));
    rtbTexto->setReadOnly(true);
    rtbTexto->setHtml(textoDeDescripcion());

    TamanoDeDiseno(9180, 6330);
    ColocaVentana(*this, true);
}

void frmDescripcion::mnDescrip_Click() {
    show();
    raise();
}

void frmDescripcion::mnEditINI_Click() {
    Modulo& m = modulo();
    if (m.oArchivos)
        m.oArchivos->AbreDocumento(m.cArchivoINI, 0, 1);
}

void frmDescripcion::resizeEvent(QResizeEvent* evento) {
    Formulario::resizeEvent(evento);
    menu->setGeometry(0, 0, width(), menu->sizeHint().height());
    const int x = PixelesX(margen);
    const int y = menu->height() + PixelesY(margen);
    // The box's size follows the window's outer size; where the frame is thicker than the window was
    // designed for, it stops at the window's edge instead of running under it. A window too small for
    // the box (minimized) gives it no size at all.
    const int ancho = qBound(0, PixelesX(Width() - anchoLibre), qMax(0, width() - x - PixelesX(margen)));
    const int alto = qBound(0, PixelesY(Height() - altoLibre), qMax(0, height() - y - PixelesY(margen)));
    rtbTexto->setGeometry(x, y, ancho, alto);
}

void frmDescripcion::closeEvent(QCloseEvent* evento) {
    GuardaVentana(*this, true);
    evento->accept();
}
