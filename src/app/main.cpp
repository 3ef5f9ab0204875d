#include "components/Registro.h"
#include "config/ComandoConfigurar.h"
#include "export/ComandoEnviar.h"
#include "export/Demo.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

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
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "catalogo-ftp: en construcción\n";
    return 2;
}
