#include "app/Ordenes.h"

#include "app/ComandoConfigurar.h"
#include "app/ComandoEnviar.h"
#include "app/Demo.h"
#include "components/Registro.h"

#include <QTextStream>

#ifdef Q_OS_WIN
#include <windows.h>

#include <shellapi.h>
#endif

// On Windows from the wide command line, so that a folder named outside the ANSI code page arrives
// whole.
QStringList palabrasDeLaLinea(int argc, char** argv) {
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

int malUso(const QString& error) {
    QTextStream(stderr) << "catalogo-ftp: " << error << '\n' << textoDeUso();
    return salida::kMalUso;
}

int ejecutarSinVentana(const LineaDeComandos& linea) {
    using Orden = LineaDeComandos::Orden;
    switch (linea.orden) {
    case Orden::Ayuda:
        QTextStream(stdout) << textoDeUso();
        return salida::kHecho;
    case Orden::Version:
        QTextStream(stdout) << textoDeVersion();
        return salida::kHecho;
    case Orden::Enviar:
        registrarComponentesDelNucleo();
        return ComandoEnviar(linea);
    case Orden::Demo:
        registrarComponentesDelNucleo();
        return ComandoDemo(linea);
    case Orden::Configurar:
        registrarComponentesDelNucleo();
        return ComandoConfigurar(linea);
    case Orden::Escritorio: // the callers run the desktop program themselves
        break;
    }
    return salida::kMalUso;
}

bool conVentana(const LineaDeComandos& linea) {
    using Orden = LineaDeComandos::Orden;
    if (linea.orden == Orden::Escritorio)
        return true;
    if (linea.orden != Orden::Demo)
        return false;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
    if (plataforma.startsWith("offscreen") || plataforma.startsWith("minimal"))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}
