#include "components/Registro.h"
#include "config/ComandoConfigurar.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstring>

int main(int argc, char** argv) {
    // Commands that need no display run with a core application.
    if (argc > 1 && std::strcmp(argv[1], "configurar") == 0) {
        QCoreApplication app(argc, argv);
        registrarComponentesDelNucleo();
        return ComandoConfigurar(QCoreApplication::arguments().mid(2));
    }
    QCoreApplication app(argc, argv);
    QTextStream(stderr) << "catalogo-ftp: en construcción\n";
    return 2;
}
