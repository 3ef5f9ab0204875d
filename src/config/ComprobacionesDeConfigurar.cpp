#include "config/ComprobacionesDeConfigurar.h"

#include "modulo/ArchivosDelPrograma.h"
#include "winapi/consola.h"
#include "winapi/wininet.h"

#include <QDir>
#include <QFileInfo>
#include <iostream>
#include <string>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

// Turns the terminal's echo off while it lives; does nothing when standard input is not a terminal.
class SinEco {
public:
    SinEco() {
#ifdef Q_OS_WIN
        entrada = GetStdHandle(STD_INPUT_HANDLE);
        terminal = GetConsoleMode(entrada, &antes) != 0;
        if (terminal)
            SetConsoleMode(entrada, antes & ~DWORD(ENABLE_ECHO_INPUT));
#else
        terminal = isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &antes) == 0;
        if (terminal) {
            termios sinEco = antes;
            sinEco.c_lflag &= ~tcflag_t(ECHO);
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &sinEco);
        }
#endif
    }
    ~SinEco() {
#ifdef Q_OS_WIN
        if (terminal)
            SetConsoleMode(entrada, antes);
#else
        if (terminal)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &antes);
#endif
    }
    SinEco(const SinEco&) = delete;
    SinEco& operator=(const SinEco&) = delete;
    bool esTerminal() const {
        return terminal;
    }

private:
    bool terminal = false;
#ifdef Q_OS_WIN
    HANDLE entrada = nullptr;
    DWORD antes = 0;
#else
    termios antes{};
#endif
};

// Where the server setting points, as the FTP layer reads it.
wininet::Target destinoDe(const QString& url) {
    wininet::Target destino;
    wininet::parseTarget(url.trimmed(), 0, destino);
    return destino;
}

// The local folder a target names ("/path", "C:\\path" or "file:///path"), "" when it names a server.
QString carpetaLocal(const QString& url) {
    const wininet::Target destino = destinoDe(url);
    return destino.kind == wininet::Target::Kind::Folder ? destino.folder : QString();
}

QString absoluta(const QString& ruta) {
    const QFileInfo info(ruta);
    const QString canonica = info.canonicalFilePath();
    return canonica.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonica;
}

} // namespace

std::optional<QString> leerContrasenaDeLaEntrada() {
    std::string linea;
    {
        const SinEco sinEco;
        if (sinEco.esTerminal())
            std::cerr << "Contraseña del FTP: " << std::flush;
        if (!std::getline(std::cin, linea))
            return std::nullopt;
        if (sinEco.esTerminal())
            std::cerr << '\n';
    }
    if (!linea.empty() && linea.back() == '\r')
        linea.pop_back();
    return consola::desdeLaEntrada(QByteArray::fromStdString(linea));
}

bool contrasenaEnClaro(const QString& url) {
    return carpetaLocal(url).isEmpty() && destinoDe(url).kind != wininet::Target::Kind::Ftps;
}

bool sePuedenGrabar(const CajasDeConfiguracion& cajas, const QString& carpetaDelPrograma,
                    const QString& nombreDelPrograma, QString* error) {
    const auto rechazo = [error](const QString& porQue) {
        if (error)
            *error = porQue;
        return false;
    };
    // Only the file-name part of the setting is used: the export is always made in the program folder.
    const QString archivo =
        QFileInfo(QString(enCaja(cajas, claves::kArchivo)).replace(QLatin1Char('\\'), QLatin1Char('/')))
            .fileName();
    for (const QString& propio : archivos::propios(nombreDelPrograma))
        if (archivo.compare(propio, Qt::CaseInsensitive) == 0)
            return rechazo(QStringLiteral("el archivo para el FTP no puede ser \"%1\", un archivo del propio "
                                          "programa: el primer envío lo sobrescribiría")
                               .arg(archivo));

    const QString carpeta = carpetaLocal(enCaja(cajas, claves::kURL));
    if (!carpeta.isEmpty() && absoluta(carpeta + QLatin1Char('/') + enCaja(cajas, claves::kDirectorio)) ==
                                  absoluta(carpetaDelPrograma))
        return rechazo(QStringLiteral("la carpeta de publicación no puede ser la carpeta del programa: el "
                                      "envío reemplazaría el archivo exportado por sí mismo"));
    return true;
}
