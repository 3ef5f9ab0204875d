#include "config/ComprobacionesDeConfigurar.h"

#include "winapi/consola.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
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

// The local folder a target names ("/path", "C:\\path" or "file:///path"), "" when it names a server.
QString carpetaLocal(const QString& url) {
    const QString u = url.trimmed();
    if (u.startsWith(QLatin1String("file://"), Qt::CaseInsensitive))
        return QUrl(u).toLocalFile();
    return QDir::isAbsolutePath(u) ? u : QString();
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
    return carpetaLocal(url).isEmpty() &&
           !url.trimmed().startsWith(QLatin1String("ftps://"), Qt::CaseInsensitive);
}

QString motivoDeRechazo(const CajasDeConfiguracion& cajas, const QString& carpetaDelPrograma,
                        const QString& nombreDelPrograma) {
    // Only the file-name part of the setting is used: the export is always made in the program folder.
    const QString archivo =
        QFileInfo(QString(cajas[2]).replace(QLatin1Char('\\'), QLatin1Char('/'))).fileName();
    const QStringList propios{nombreDelPrograma + QStringLiteral(".ini"),
                              QStringLiteral("ListaProductosReja.dat"),
                              QStringLiteral("ListaDeCampos.dat"),
                              QStringLiteral("catalogo-ftp.log"),
                              QStringLiteral("catalogo-ftp.lock"),
                              QStringLiteral("catalogo-ftp.instancia"),
                              nombreDelPrograma,
                              nombreDelPrograma + QStringLiteral(".exe"),
                              nombreDelPrograma + QStringLiteral(".com")};
    for (const QString& propio : propios)
        if (archivo.compare(propio, Qt::CaseInsensitive) == 0)
            return QStringLiteral(
                       "el archivo para el FTP no puede ser \"%1\", un archivo del propio programa: el "
                       "primer envío lo sobrescribiría")
                .arg(archivo);

    const QString carpeta = carpetaLocal(cajas[4]);
    if (!carpeta.isEmpty() && absoluta(carpeta + QLatin1Char('/') + cajas[6]) == absoluta(carpetaDelPrograma))
        return QStringLiteral("la carpeta de publicación no puede ser la carpeta del programa: el envío "
                              "reemplazaría el archivo exportado por sí mismo");
    return QString();
}
