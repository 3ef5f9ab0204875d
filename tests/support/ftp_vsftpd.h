#pragma once
// vsftpd on 127.0.0.1 with explicit TLS offered (and the TLS session of the control connection
// demanded on the data connection, vsftpd's default), a certificate made for the run, and the system
// user catalogoftp (made by scripts/start-services.sh) locked in a home folder of its own. Needs root.

#include "ftp_servidor.h"

class ServidorVsftpd : public ServidorFtpDePrueba {
public:
    ServidorVsftpd();
    // The certificate the server presents, which is also the authority to trust.
    QString certificado() const { return temporal.filePath(QStringLiteral("cert.pem")); }

private:
    bool ejecutar(const QString& programa, const QStringList& argumentos);
    bool arrancar(quint16 puerto);
};
