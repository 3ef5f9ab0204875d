#include "components/Registro.h"
#include "config/ComandoConfigurar.h"
#include "export/ComandoEnviar.h"
#include "export/Demo.h"
#include "shell/iniciar.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstring>

int main(int argc, char** argv) {
    const auto comando = [&](const char* nombre) { return argc > 1 && std::strcmp(argv[1], nombre) == 0; };
    if (comando("demo") && hayPantalla()) {
        QApplication app(argc, argv);
        registrarComponentesDelNucleo();
        return demoConVentana(QCoreApplication::arguments().mid(2));
    }
    // Commands that need no display run with a core application.
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
    return ejecutarEscritorio(QCoreApplication::arguments().mid(1));
}
