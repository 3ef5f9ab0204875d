#include "ftp_vsftpd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

namespace {

quint16 puertoLibre() {
    QTcpServer sonda;
    return sonda.listen(QHostAddress::LocalHost, 0) ? sonda.serverPort() : 0;
}

} // namespace

ServidorVsftpd::ServidorVsftpd()
    : ServidorFtpDePrueba(QStringLiteral("catalogoftp"), QStringLiteral("catalogo-prueba")) {
    archivoRegistro = temporal.filePath(QStringLiteral("vsftpd.log"));
    // vsftpd enters the home folder as the user, who must be able to pass through the one above.
    QFile::setPermissions(temporal.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                               QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                               QFile::ExeOther);
    if (!prepararCarpeta() || !ejecutar(QStringLiteral("id"), {usuario_}) ||
        !ejecutar(QStringLiteral("chown"), {usuario_, carpeta_}) ||
        !ejecutar(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-keyout"), temporal.filePath(QStringLiteral("key.pem")),
                   QStringLiteral("-out"), certificado(), QStringLiteral("-days"), QStringLiteral("1"),
                   QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1")}))
        return;
    // Another process may take the free port before vsftpd binds it: try again with another.
    for (int intento = 0; intento < 3 && !listo(); ++intento)
        arrancar(puertoLibre());
}

bool ServidorVsftpd::ejecutar(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    if (p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    motivo_ = programa + QStringLiteral(" falló: ") + p.errorString() + QStringLiteral(" ") +
              QString::fromLocal8Bit(p.readAll());
    return false;
}

bool ServidorVsftpd::arrancar(quint16 puerto) {
    const QString vacia = temporal.filePath(QStringLiteral("vacia"));
    QDir().mkpath(vacia);
    const QString config = temporal.filePath(QStringLiteral("vsftpd.conf"));
    QFile archivo(config);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QStringList lineas = {
        QStringLiteral("listen=YES"),
        QStringLiteral("listen_ipv6=NO"),
        QStringLiteral("listen_address=127.0.0.1"),
        QStringLiteral("listen_port=%1").arg(puerto),
        QStringLiteral("pasv_min_port=%1").arg(puerto + 1),
        QStringLiteral("pasv_max_port=%1").arg(puerto + 40),
        QStringLiteral("background=NO"),
        QStringLiteral("anonymous_enable=NO"),
        QStringLiteral("local_enable=YES"),
        QStringLiteral("write_enable=YES"),
        QStringLiteral("local_umask=022"),
        QStringLiteral("local_root=") + carpeta_,
        QStringLiteral("chroot_local_user=YES"),
        QStringLiteral("allow_writeable_chroot=YES"),
        QStringLiteral("secure_chroot_dir=") + vacia,
        QStringLiteral("pam_service_name=vsftpd"),
        QStringLiteral("seccomp_sandbox=NO"),
        QStringLiteral("delay_failed_login=0"),
        QStringLiteral("ssl_enable=YES"),
        QStringLiteral("force_local_logins_ssl=NO"),
        QStringLiteral("force_local_data_ssl=NO"),
        QStringLiteral("rsa_cert_file=") + certificado(),
        QStringLiteral("rsa_private_key_file=") + temporal.filePath(QStringLiteral("key.pem")),
        QStringLiteral("xferlog_enable=YES"),
        QStringLiteral("xferlog_std_format=NO"),
        QStringLiteral("log_ftp_protocol=YES"),
        QStringLiteral("vsftpd_log_file=") + archivoRegistro,
    };
    archivo.write(lineas.join(u'\n').toUtf8() + '\n');
    archivo.close();

    // A folder of its own as working folder: the test's may be gone by the time the server starts.
    proceso.setWorkingDirectory(temporal.path());
    proceso.start(QStringLiteral("/usr/sbin/vsftpd"), {config});
    QElapsedTimer reloj;
    reloj.start();
    while (reloj.elapsed() < 5000 && proceso.state() != QProcess::NotRunning) {
        QTcpSocket sonda;
        sonda.connectToHost(QHostAddress::LocalHost, puerto);
        if (sonda.waitForConnected(200) && sonda.waitForReadyRead(1000) &&
            sonda.readAll().startsWith("220")) {
            puerto_ = puerto;
            return true;
        }
        proceso.waitForFinished(50);
    }
    motivo_ = QStringLiteral("vsftpd no arrancó: ") + proceso.errorString() + QStringLiteral("\n") +
              leer(archivoSalida);
    proceso.kill();
    proceso.waitForFinished(3000);
    return false;
}
