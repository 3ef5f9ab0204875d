#include "ftp_servidor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// Under Wine the suites run beside Debian's Linux Python, and Wine starts a Linux program but keeps no
// handle on it: so a shell leaves the server's process id and log where the test reads them, signals
// go through kill, and Linux takes the same road. Wine's drive Z: is the Linux root.
QString rutaDeLinux(const QString& ruta) {
    return ruta.startsWith(QLatin1String("Z:"), Qt::CaseInsensitive) ? ruta.mid(2) : ruta;
}

} // namespace

ServidorFtpDePrueba::ServidorFtpDePrueba(QString usuario, QString contrasena)
    : usuario_(std::move(usuario)), contrasena_(std::move(contrasena)) {
    carpeta_ = temporal.filePath(u"raiz"_s);
    if (!temporal.isValid() || !QDir().mkpath(carpeta_))
        motivo_ = u"no se pudo crear la carpeta temporal"_s;
    archivoSalida = archivoRegistro = temporal.filePath(u"salida.log"_s);
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    // A file, not a pipe: a pipe nobody reads while a test blocks in a transfer would stall the server.
    proceso.setStandardOutputFile(archivoSalida);
    // A folder of its own as working folder: the test's may be gone by the time the server starts.
    proceso.setWorkingDirectory(temporal.path());
}

ServidorFtpDePrueba::~ServidorFtpDePrueba() {
    senal("TERM");
    proceso.terminate();
    if (!proceso.waitForFinished(3000)) {
        proceso.kill();
        proceso.waitForFinished(3000);
    }
}

bool ServidorFtpDePrueba::senal(const char* nombre) {
    const QString opcion = u"-"_s + QLatin1String(nombre);
    return !pid.isEmpty() && QProcess::execute(u"/bin/kill"_s, {opcion, pid}) == 0;
}

ServidorFtp::ServidorFtp() : ServidorFtpDePrueba(u"catalogo"_s, u"clave-de-prueba"_s) {
    arrancar({u"-m"_s, u"pyftpdlib"_s, u"-i"_s, u"127.0.0.1"_s, u"-p"_s, u"0"_s, u"-w"_s, u"-d"_s, carpeta_,
              u"-u"_s, usuario_, u"-P"_s, contrasena_, u"-D"_s},
             u"starting FTP server on 127\\.0\\.0\\.1:(\\d+)"_s);
}

void ServidorFtp::arrancar(const QStringList& argumentos, const QString& inicio) {
    if (!motivo_.isEmpty())
        return;
    const QString archivoPid = temporal.filePath(u"pid"_s);
    // The shell leaves its process id, which python3 takes over, in the first file and the log in the second.
    QStringList guion{u"-c"_s, u"echo $$ >\"$0\"; l=$1; shift; exec /usr/bin/python3 \"$@\" >\"$l\" 2>&1"_s};
    guion << archivoPid << archivoSalida << argumentos;
    for (QString& argumento : guion)
        argumento = rutaDeLinux(argumento);
    proceso.start(u"/bin/sh"_s, guion);
    // Port 0: the server takes a free one and logs it, so two suites never race for a port.
    const QRegularExpression puerto(inicio);
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 10000) {
        if (const auto m = puerto.match(registro()); m.hasMatch()) {
            puerto_ = static_cast<quint16>(m.captured(1).toUInt());
            pid = leer(archivoPid).trimmed();
            return;
        }
        QThread::msleep(20);
    }
    motivo_ = argumentos.first() + u" no arrancó: "_s + proceso.errorString() + u"\n"_s + registro();
}
