// catalogo-ftp.com, the program at a command prompt on Windows. cmd and PowerShell take
// "catalogo-ftp" for it before catalogo-ftp.exe, a windowed program they would neither wait for nor
// show the output of: this one prints to the console it was started from, the prompt waits for it
// and %ERRORLEVEL% is its exit status. It loads no window library. What needs a window (the desktop
// program, the demo's window) it hands to catalogo-ftp.exe beside it, which the prompt does not wait
// for, as for any windowed program.

#include "app/Arranque.h"
#include "app/Ordenes.h"
#include "app/Salidas.h"
#include "modulo/ArchivosDelPrograma.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTextStream>
#include <windows.h>

namespace {

// The program writes UTF-8, and a console shows bytes in its own code page (850 at a Spanish cmd):
// while the program runs its console shows UTF-8, then gets its own code page back for what follows at
// the prompt. Redirected to a file or a pipe, the lines stay UTF-8.
class ConsolaEnUtf8 {
public:
    ConsolaEnUtf8() {
        if (antes != 0)
            SetConsoleOutputCP(CP_UTF8);
    }
    ~ConsolaEnUtf8() {
        if (antes != 0)
            SetConsoleOutputCP(antes);
    }
    ConsolaEnUtf8(const ConsolaEnUtf8&) = delete;
    ConsolaEnUtf8& operator=(const ConsolaEnUtf8&) = delete;

private:
    const UINT antes = GetConsoleOutputCP();
};

// Starts the desktop program beside this one with `palabras`; false, and said why, when it cannot.
bool abrirEscritorio(const QStringList& palabras) {
    const QString programa = archivos::en(QCoreApplication::applicationDirPath(),
                                          nombreDelEjecutable() + archivos::kEscritorioEnWindows);
    if (QProcess::startDetached(programa, palabras))
        return true;
    QTextStream(stderr) << "catalogo-ftp: no se pudo abrir " << QDir::toNativeSeparators(programa) << '\n';
    return false;
}

} // namespace

int main(int argc, char** argv) {
    using Orden = LineaDeComandos::Orden;
    const ConsolaEnUtf8 utf8;
    QCoreApplication app(argc, argv);
    const QStringList palabras = palabrasDeLaLinea(argc, argv);
    QString error;
    const std::optional<LineaDeComandos> linea = leerLineaDeComandos(palabras, &error);
    if (!linea)
        return malUso(error);
    if (linea->orden == Orden::Escritorio)
        return abrirEscritorio(palabras) ? salida::kHecho : salida::kSinArranque;
    // Before the command makes the program folder current, which a relative --carpeta names from here.
    const QString carpeta = carpetaDelPrograma(linea->carpeta);
    const int estado = ejecutarSinVentana(*linea);
    if (linea->orden == Orden::Demo && estado == salida::kHecho)
        abrirEscritorio({QStringLiteral("-ktfa"), QStringLiteral("--carpeta"), carpeta});
    return estado;
}
