// Pictures of the windows for the documentation: the main window on each of its four tabs, the product
// search and the description window, on the demo's sample shop, saved as PNG files.
//
//   capturas <output folder>      (scripts/capturas.sh runs it on a virtual X screen)

#include "app/Arranque.h"
#include "app/Demo.h"
#include "app/LineaDeComandos.h"
#include "app/iniciar.h"
#include "components/Registro.h"
#include "editors/MSFlexGrid.h"
#include "export/ListasDeArchivo.h"
#include "shell/frmDescripcion.h"
#include "shell/frmInicial.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

QString destino;

bool guardar(QWidget& ventana, const char* nombre) {
    QApplication::processEvents();
    const QString archivo = destino + QLatin1Char('/') + QString::fromLatin1(nombre);
    const bool hecho = ventana.grab().save(archivo);
    std::printf("%s %s\n", hecho ? "escrito" : "NO SE PUDO ESCRIBIR", qPrintable(archivo));
    return hecho;
}

void clic(QWidget& ventana, const char* boton) {
    ventana.findChild<QPushButton*>(QString::fromLatin1(boton))->click();
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "uso: capturas <carpeta de salida>\n");
        return 2;
    }
    destino = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(destino);
    QTemporaryDir tienda;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(tienda.filePath(QStringLiteral("usuario"))));
    registrarComponentesDelNucleo();
    QString error;
    if (!prepararDemo(tienda.path(), &error)) {
        std::fprintf(stderr, "demo: %s\n", qPrintable(error));
        return 1;
    }
    // A short product list, as a shop would keep one.
    escribirListaDeProductos(tienda.filePath(QStringLiteral("ListaProductosReja.dat")),
                             {{QStringLiteral("P000004"), QStringLiteral("Café molido 500 g")},
                              {QStringLiteral("P000009"), QStringLiteral("Aceite de oliva 1 l")},
                              {QStringLiteral("P000006"), QStringLiteral("Azúcar estándar 1 kg")}});

    std::unique_ptr<QWidget> ventana(iniciar(
        leerLineaDeComandos({QStringLiteral("--carpeta"), tienda.path(), QStringLiteral("-ktfa")}).value()));
    auto* principal = qobject_cast<frmInicial*>(ventana.get());
    if (principal == nullptr)
        return 1;
    principal->show();
    principal->activateWindow();
    if (!QTest::qWaitForWindowExposed(principal))
        return 1;
    QTest::qWait(1100); // one tick of the countdown

    bool bien = guardar(*principal, "ventana-principal.png");
    clic(*principal, "cmdConfigurar");
    bien &= guardar(*principal, "ventana-configuracion.png");
    clic(*principal, "cmdCancelar");
    clic(*principal, "cmdListaProds");
    bien &= guardar(*principal, "ventana-lista-de-productos.png");

    // The search window over the product list, narrowed by a word.
    QTimer::singleShot(200, [&bien] {
        QWidget* busqueda = QApplication::activeModalWidget();
        if (busqueda == nullptr) {
            bien = false;
            return;
        }
        QTest::keyClicks(busqueda->findChild<QLineEdit*>(QStringLiteral("txtBuscar")),
                         QStringLiteral("aceite"));
        QTest::qWait(100);
        bien &= guardar(*busqueda, "busqueda-de-productos.png");
        QTest::keyClick(busqueda, Qt::Key_Escape);
    });
    QTest::keyClick(principal->findChild<MSFlexGrid*>(QStringLiteral("mfgProds")), Qt::Key_Insert);

    clic(*principal, "cmdRegresar");
    clic(*principal, "cmdCampos");
    bien &= guardar(*principal, "ventana-campos-a-exportar.png");
    clic(*principal, "cmdCancelar2");

    QTest::keyClick(principal, Qt::Key_F1);
    QTest::qWait(300);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* descripcion = qobject_cast<frmDescripcion*>(w);
            descripcion != nullptr && descripcion->isVisible())
            bien &= guardar(*descripcion, "ventana-descripcion.png");
    principal->Descargar();
    return bien ? 0 : 1;
}
