#include "ftp_vsftpd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

ServidorVsftpd::ServidorVsftpd() : ServidorFtpDePrueba(u"catalogoftp"_s, u"catalogo-prueba"_s) {
    archivoRegistro = temporal.filePath(u"vsftpd.log"_s);
    const QStringList certificar =
        QStringLiteral("req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
                       "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1")
            .split(u' ') +
        QStringList{u"-keyout"_s, temporal.filePath(u"key.pem"_s), u"-out"_s, certificado()};
    // vsftpd enters the home folder as the user, who must be able to pass through the one above.
    if (!motivo_.isEmpty() || !ejecutar(u"chmod"_s, {u"755"_s, temporal.path()}) ||
        !ejecutar(u"chown"_s, {usuario_, carpeta_}) || !ejecutar(u"openssl"_s, certificar))
        return;
    // Another process may take the free port before vsftpd binds it: try again with another.
    for (int intento = 0; intento < 3 && !listo(); ++intento) {
        QTcpServer sonda;
        const quint16 puerto = sonda.listen(QHostAddress::LocalHost, 0) ? sonda.serverPort() : 0;
        sonda.close();
        arrancar(puerto);
    }
}

bool ServidorVsftpd::ejecutar(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(programa, argumentos);
    if (p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    motivo_ = programa + u" falló: "_s + p.errorString() + u" "_s + QString::fromLocal8Bit(p.readAll());
    return false;
}

bool ServidorVsftpd::arrancar(quint16 puerto) {
    const QString vacia = temporal.filePath(u"vacia"_s);
    QDir().mkpath(vacia);
    const QString config = temporal.filePath(u"vsftpd.conf"_s);
    QFile archivo(config);
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    // Settings without spaces, one a word; those that hold a path come after, one a line.
    QStringList lineas =
        QStringLiteral("listen=YES listen_ipv6=NO listen_address=127.0.0.1 background=NO "
                       "anonymous_enable=NO local_enable=YES write_enable=YES local_umask=022 "
                       "chroot_local_user=YES allow_writeable_chroot=YES pam_service_name=vsftpd "
                       "seccomp_sandbox=NO delay_failed_login=0 ssl_enable=YES force_local_logins_ssl=NO "
                       "force_local_data_ssl=NO xferlog_enable=YES xferlog_std_format=NO "
                       "log_ftp_protocol=YES listen_port=%1 pasv_min_port=%2 pasv_max_port=%3")
            .arg(puerto)
            .arg(puerto + 1)
            .arg(puerto + 40)
            .split(u' ');
    lineas << u"local_root="_s + carpeta_ << u"secure_chroot_dir="_s + vacia
           << u"rsa_cert_file="_s + certificado()
           << u"rsa_private_key_file="_s + temporal.filePath(u"key.pem"_s)
           << u"vsftpd_log_file="_s + archivoRegistro;
    archivo.write(lineas.join(u'\n').toUtf8() + '\n');
    archivo.close();

    proceso.start(u"/usr/sbin/vsftpd"_s, {config});
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
    motivo_ = u"vsftpd no arrancó: "_s + proceso.errorString() + u"\n"_s + leer(archivoSalida);
    proceso.kill();
    proceso.waitForFinished(3000);
    return false;
}
