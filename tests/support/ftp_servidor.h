#pragma once
// FTP servers of the tests' own on 127.0.0.1, each with a port, a user, a password and a home folder
// of its own, started by the constructor and stopped by the destructor. The home folder on disk is the
// server's "/", so a test can look at what the server holds. When a server cannot start, listo() is
// false and motivo() says why (see REQUERIR_SERVIDOR).

#include "archivos.h"

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class ServidorFtpDePrueba {
public:
    virtual ~ServidorFtpDePrueba();
    bool listo() const { return puerto_ != 0; }
    const QString& motivo() const { return motivo_; }
    QString direccion() const { return QStringLiteral("127.0.0.1:%1").arg(puerto_); }
    const QString& usuario() const { return usuario_; }
    const QString& contrasena() const { return contrasena_; }
    const QString& carpeta() const { return carpeta_; }
    // What the server has logged so far, commands included.
    QString registro() const { return leer(archivoRegistro); }

protected:
    // Makes the home folder; on failure motivo() says why.
    ServidorFtpDePrueba(QString usuario, QString contrasena);
    static QString leer(const QString& ruta) { return QString::fromUtf8(leerArchivo(ruta)); }
    // Sends the server process a signal by name ("STOP", "CONT", "TERM"); false when there is none.
    bool senal(const char* nombre);

    QTemporaryDir temporal;
    QProcess proceso;
    quint16 puerto_ = 0;
    QString motivo_, usuario_, contrasena_, carpeta_;
    QString archivoSalida;   // what the process prints
    QString archivoRegistro; // where the server logs its commands
    QString pid;             // the server's, as Linux knows it
};

// Debian's pyftpdlib, with the user's full rights on its home folder.
class ServidorFtp : public ServidorFtpDePrueba {
public:
    ServidorFtp();
    ~ServidorFtp() override { reanudar(); }
    // Freezes the server process, so that it keeps its connections and answers nothing; and thaws it.
    void suspender() { suspendido = senal("STOP"); }
    void reanudar() { suspendido = suspendido && !senal("CONT"); }

protected:
    using ServidorFtpDePrueba::ServidorFtpDePrueba;
    // Starts Debian's Python on `argumentos` and waits for the line that `inicio` matches to give the port.
    void arrancar(const QStringList& argumentos, const QString& inicio);

private:
    bool suspendido = false;
};
