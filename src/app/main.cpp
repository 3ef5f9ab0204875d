#include "components/Registro.h"
#include "config/ComandoConfigurar.h"
#include "export/ComandoEnviar.h"
#include "export/Demo.h"
#include "shell/frmInicial.h"
#include "shell/iniciar.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    // Commands that need no display run with a core application.
    const auto comando = [&](const char* nombre) { return argc > 1 && std::strcmp(argv[1], nombre) == 0; };
    if (comando("configurar") || comando("enviar") || comando("demo")) {
        QCoreApplication app(argc, argv);
        registrarComponentesDelNucleo();
        const QStringList argumentos = QCoreApplication::arguments().mid(2);
        if (comando("enviar"))
            return ComandoEnviar(argumentos);
        if (comando("demo"))
            return ComandoDemo(argumentos);
        return ComandoConfigurar(argumentos);
    }

    QApplication app(argc, argv);
    // The window spends its life hidden: closing a message box must not end the program, only the
    // window's own unload does.
    QApplication::setQuitOnLastWindowClosed(false);
    std::unique_ptr<QWidget> ventana(iniciar(QCoreApplication::arguments().mid(1)));
    auto* principal = qobject_cast<frmInicial*>(ventana.get());
    if (principal == nullptr)
        return 1;
    QObject::connect(principal, &frmInicial::descargada, &app, &QCoreApplication::quit);
    // However the event loop ends (the desktop session closing, a signal), the icon leaves the
    // notification area and the components are released.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, principal, &frmInicial::Descargar);
    return QApplication::exec();
}
