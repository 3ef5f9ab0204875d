// catalogo-ftp on Linux. Commands run here on the core alone; the window (the desktop program, the demo
// where there is a display) lives in catalogo-ftp-ventana.so beside this executable and is loaded only
// then. A scheduled `enviar` thus never maps the window libraries, which were a third of its memory.

#include "app/Ordenes.h"
#include "app/Salidas.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTextStream>

namespace {

// Hands the whole command line to the window's library, which makes its own application object.
int correrConVentana(int argc, char** argv) {
    // No application object exists yet to say where the executable is.
    const QString biblioteca =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath() +
        QStringLiteral("/catalogo-ftp-ventana.so");
    QLibrary ventana(biblioteca);
    using Entrada = int (*)(int, char**);
    const auto entrada = reinterpret_cast<Entrada>(ventana.resolve("catalogoFtpVentana"));
    if (entrada == nullptr) {
        QTextStream(stderr) << "catalogo-ftp: no se pudo abrir " << biblioteca << ": "
                            << ventana.errorString() << '\n';
        return salida::kSinArranque;
    }
    return entrada(argc, argv);
}

} // namespace

int main(int argc, char** argv) {
    QString error;
    const std::optional<LineaDeComandos> linea = leerLineaDeComandos(palabrasDeLaLinea(argc, argv), &error);
    if (!linea)
        return malUso(error);
    if (conVentana(*linea))
        return correrConVentana(argc, argv);
    QCoreApplication app(argc, argv);
    return ejecutarSinVentana(*linea);
}
