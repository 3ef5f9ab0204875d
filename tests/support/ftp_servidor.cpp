#include "ftp_servidor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <csignal>

ServidorFtpDePrueba::ServidorFtpDePrueba(QString usuario, QString contrasena)
    : usuario_(std::move(usuario)), contrasena_(std::move(contrasena)) {
    archivoSalida = archivoRegistro = temporal.filePath(QStringLiteral("salida.log"));
    proceso.setProcessChannelMode(QProcess::MergedChannels);
    // A file, not a pipe: a pipe nobody reads while a test blocks in a transfer would stall the server.
    proceso.setStandardOutputFile(archivoSalida);
}

ServidorFtpDePrueba::~ServidorFtpDePrueba() {
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
    proceso.start(QStringLiteral("/usr/bin/python3"), argumentos);
    const QRegularExpression puerto(inicio);
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 10000 && proceso.state() != QProcess::NotRunning) {
        if (const auto m = puerto.match(registro()); m.hasMatch()) {
            puerto_ = static_cast<quint16>(m.captured(1).toUInt());
            return;
        }
        proceso.waitForFinished(20);
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
#ifdef Q_OS_UNIX
    ::kill(static_cast<pid_t>(proceso.processId()), SIGSTOP);
    suspendido = true;
#endif
}

void ServidorFtp::reanudar() {
#ifdef Q_OS_UNIX
    if (suspendido)
        ::kill(static_cast<pid_t>(proceso.processId()), SIGCONT);
    suspendido = false;
#endif
}
