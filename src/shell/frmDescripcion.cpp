#include "shell/frmDescripcion.h"

#include "shell/Ventana.h"

#include <QCloseEvent>
#include <QTextBrowser>
#include <QVBoxLayout>

frmDescripcion::frmDescripcion(QWidget* parent) : Formulario(parent), rtbTexto(new QTextBrowser) {
    setObjectName(QStringLiteral("frmDescripcion"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Descripción del programa"));
    rtbTexto->setObjectName(QStringLiteral("rtbTexto"));
    rtbTexto->setHtml(QStringLiteral(
        "<h2>Actualización de productos en línea</h2>"
        "<p>Publica el catálogo de productos del punto de venta en un servidor FTP: cada cierto número de "
        "minutos, o al pulsar <b>Enviar ahora</b>, lee los productos de la base de datos, escribe en un "
        "archivo de texto las columnas elegidas, en el orden elegido, y lo sube a la carpeta configurada "
        "del servidor.</p>"
        "<p>El programa vive como un icono en el área de notificación: un clic sobre el icono muestra la "
        "ventana, y el botón de ocultar o el cuadro de cierre la devuelven allí.</p>"));
    auto* disposicion = new QVBoxLayout(this);
    disposicion->addWidget(rtbTexto);
    TamanoDeDiseno(9180, 6330);
    ColocaVentana(*this, true);
}

void frmDescripcion::closeEvent(QCloseEvent* evento) {
    GuardaVentana(*this, true);
    evento->accept();
}
