#pragma once
// FTP servers of the tests' own on 127.0.0.1, each with a port, a user, a password and a home folder
// of its own, started by the constructor and stopped by the destructor. The home folder on disk is the
// server's "/", so a test can look at what the server holds. When a server cannot start, listo() is
// false and motivo() says why (see REQUERIR_SERVIDOR).

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class ServidorFtpDePrueba {
public:
    virtual ~ServidorFtpDePrueba();
    ServidorFtpDePrueba(const ServidorFtpDePrueba&) = delete;
    ServidorFtpDePrueba& operator=(const ServidorFtpDePrueba&) = delete;

    bool listo() const { return puerto_ != 0; }
    const QString& motivo() const { return motivo_; }
    QString direccion() const; // "127.0.0.1:puerto"
    quint16 puerto() const { return puerto_; }
    const QString& usuario() const { return usuario_; }
    const QString& contrasena() const { return contrasena_; }
    const QString& carpeta() const { return carpeta_; }
    // What the server has logged so far, commands included.
    QString registro() const;

protected:
    ServidorFtpDePrueba(QString usuario, QString contrasena);
    // Makes the home folder; on failure sets motivo_.
    bool prepararCarpeta();
    static QString leer(const QString& ruta);
    // Starts Debian's Python on `argumentos` in a folder of its own and waits for the line that
    // `inicio` matches to give the port; on failure sets motivo_.
    void arrancarPython(const QStringList& argumentos, const QString& inicio);
    // Sends the server process a signal by name ("STOP", "CONT", "TERM"); false when there is none.
    bool senal(const char* nombre);

    QTemporaryDir temporal;
    QProcess proceso;
    quint16 puerto_ = 0;
    QString motivo_;
    QString usuario_;
    QString contrasena_;
    QString carpeta_;
    QString archivoSalida;   // what the process prints
    QString archivoRegistro; // where the server logs its commands
    QString pid;             // the server's, as Linux knows it
};

// pyftpdlib, Debian's, with the user's full rights on its home folder.
class ServidorFtp : public ServidorFtpDePrueba {
public:
    ServidorFtp();
    // Freezes the server process, so that it keeps its connections and answers nothing; and thaws it.
    void suspender();
    void reanudar();
    ~ServidorFtp() override;

private:
    bool suspendido = false;
};
