#include "components/Registro.h"
#include "config/ComandoConfigurar.h"
#include "export/ComandoEnviar.h"
#include "export/Demo.h"
#include "modulo/LineaDeComandos.h"
#include "shell/iniciar.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#ifdef Q_OS_WIN
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

// The words after the program's name, read before any application object exists, since the command
// decides which kind to make. On Windows from the wide command line, so that a folder named outside
// the ANSI code page arrives whole.
QStringList palabrasDe(int argc, char** argv) {
    QStringList palabras;
#ifdef Q_OS_WIN
    Q_UNUSED(argc)
    Q_UNUSED(argv)
    int cuantas = 0;
    if (LPWSTR* anchas = CommandLineToArgvW(GetCommandLineW(), &cuantas)) {
        for (int i = 1; i < cuantas; ++i)
            palabras << QString::fromWCharArray(anchas[i]);
        LocalFree(anchas);
    }
#else
    for (int i = 1; i < argc; ++i)
        palabras << QString::fromLocal8Bit(argv[i]);
#endif
    return palabras;
}

} // namespace

int main(int argc, char** argv) {
    using Orden = LineaDeComandos::Orden;
    const LineaDeComandos linea = leerLineaDeComandos(palabrasDe(argc, argv));
    switch (linea.orden) {
    case Orden::Ayuda:
        QTextStream(stdout) << textoDeUso();
        return 0;
    case Orden::Version:
        QTextStream(stdout) << textoDeVersion();
        return 0;
    case Orden::MalUso:
        QTextStream(stderr) << "catalogo-ftp: " << linea.error << '\n' << textoDeUso();
        return salida::kMalUso;
    case Orden::Escritorio: {
        QApplication app(argc, argv);
        return ejecutarEscritorio(linea);
    }
    case Orden::Demo:
        if (hayPantalla()) {
            QApplication app(argc, argv);
            registrarComponentesDelNucleo();
            return demoConVentana(linea);
        }
        break;
    case Orden::Enviar:
    case Orden::Configurar:
        break;
    }
    // Commands that need no display run with a core application.
    QCoreApplication app(argc, argv);
    registrarComponentesDelNucleo();
    if (linea.orden == Orden::Enviar)
        return ComandoEnviar(linea);
    if (linea.orden == Orden::Demo)
        return ComandoDemo(linea);
    return ComandoConfigurar(linea);
}
