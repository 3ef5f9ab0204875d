#include "ftp_servidor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <csignal>

namespace {

#ifdef Q_OS_WIN
// Under Wine the suites run beside Debian's Linux Python. Wine starts a Linux program but keeps no
// handle on it, so a shell leaves the server's process id and log where the test reads them, and
// signals go through kill. Wine's drive Z: is the Linux root.
constexpr bool kSinManija = true;
QString rutaDeLinux(const QString& ruta) {
    return ruta.startsWith(QLatin1String("Z:"), Qt::CaseInsensitive) ? ruta.mid(2) : ruta;
}
#else
constexpr bool kSinManija = false;
QString rutaDeLinux(const QString& ruta) {
    return ruta;
}
#endif

} // namespace

ServidorFtpDePrueba::ServidorFtpDePrueba(QString usuario, QString contrasena)
    : usuario_(std::move(usuario)), contrasena_(std::move(contrasena)) {
    archivoSalida = archivoRegistro = temporal.filePath(QStringLiteral("salida.log"));
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    // A file, not a pipe: a pipe nobody reads while a test blocks in a transfer would stall the server.
    proceso.setStandardOutputFile(archivoSalida);
}

ServidorFtpDePrueba::~ServidorFtpDePrueba() {
    if (kSinManija)
        senal("TERM");
    if (proceso.state() == QProcess::NotRunning)
        return;
    proceso.terminate();
    if (!proceso.waitForFinished(3000)) {
        proceso.kill();
        proceso.waitForFinished(3000);
    }
}

bool ServidorFtpDePrueba::prepararCarpeta() {
    carpeta_ = temporal.filePath(QStringLiteral("raiz"));
    if (temporal.isValid() && QDir().mkpath(carpeta_))
        return true;
    motivo_ = QStringLiteral("no se pudo crear la carpeta temporal");
    return false;
}

QString ServidorFtpDePrueba::direccion() const {
    return QStringLiteral("127.0.0.1:%1").arg(puerto_);
}

QString ServidorFtpDePrueba::leer(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? QString::fromUtf8(archivo.readAll()) : QString();
}

QString ServidorFtpDePrueba::registro() const {
    return leer(archivoRegistro);
}

void ServidorFtpDePrueba::arrancarPython(const QStringList& argumentos, const QString& inicio) {
    // Port 0: the server takes a free one and logs it, so two suites never race for a port.
    // A folder of its own as working folder: the test's may be gone by the time the server starts.
    proceso.setWorkingDirectory(temporal.path());
    const QString archivoPid = temporal.filePath(QStringLiteral("pid"));
    if (kSinManija) {
        QStringList guion{
            QStringLiteral("-c"),
            QStringLiteral("echo $$ >\"$0\"; l=$1; shift; exec /usr/bin/python3 \"$@\" >\"$l\" 2>&1"),
            rutaDeLinux(archivoPid), rutaDeLinux(archivoSalida)};
        for (const QString& argumento : argumentos)
            guion << rutaDeLinux(argumento);
        proceso.start(QStringLiteral("/bin/sh"), guion);
    } else {
        proceso.start(QStringLiteral("/usr/bin/python3"), argumentos);
    }
    const QRegularExpression puerto(inicio);
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 10000 && (kSinManija || proceso.state() != QProcess::NotRunning)) {
        if (const auto m = puerto.match(registro()); m.hasMatch()) {
            puerto_ = static_cast<quint16>(m.captured(1).toUInt());
            pid = kSinManija ? leer(archivoPid).trimmed() : QString::number(proceso.processId());
            return;
        }
        QThread::msleep(20);
    }
    motivo_ = argumentos.first() + QStringLiteral(" no arrancó: ") + proceso.errorString() +
              QStringLiteral("\n") + registro();
}

ServidorFtp::ServidorFtp()
    : ServidorFtpDePrueba(QStringLiteral("catalogo"), QStringLiteral("clave-de-prueba")) {
    if (prepararCarpeta())
        arrancarPython({QStringLiteral("-m"), QStringLiteral("pyftpdlib"), QStringLiteral("-i"),
                        QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QStringLiteral("0"),
                        QStringLiteral("-w"), QStringLiteral("-d"), carpeta_, QStringLiteral("-u"), usuario_,
                        QStringLiteral("-P"), contrasena_, QStringLiteral("-D")},
                       QStringLiteral("starting FTP server on 127\\.0\\.0\\.1:(\\d+)"));
}

ServidorFtp::~ServidorFtp() {
    reanudar();
}

void ServidorFtp::suspender() {
    suspendido = senal("STOP");
}

void ServidorFtp::reanudar() {
    if (suspendido)
        senal("CONT");
    suspendido = false;
}

bool ServidorFtpDePrueba::senal(const char* nombre) {
    if (pid.isEmpty())
        return false;
#ifdef Q_OS_WIN
    QProcess::execute(QStringLiteral("/bin/kill"), {QStringLiteral("-%1").arg(QLatin1String(nombre)), pid});
    return true;
#else
    const int numero = qstrcmp(nombre, "STOP") == 0   ? SIGSTOP
                       : qstrcmp(nombre, "CONT") == 0 ? SIGCONT
                                                      : SIGTERM;
    return ::kill(static_cast<pid_t>(pid.toLongLong()), numero) == 0;
#endif
}
