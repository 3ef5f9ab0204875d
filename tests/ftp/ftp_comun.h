#pragma once
// What the FTP suites share: the places a send can publish to (the test servers and a local folder),
// sample bytes, and a recorder of progress events.

#include "entorno.h"
#include "ftp/clsFTP.h"
#include "ftp_servidor.h"
#include "ftp_vsftpd.h"
#include "winapi/wininet.h"

#include <QFile>
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

using namespace std::chrono_literals;

// Every byte value, shifted by one after each 251 bytes, so that a byte altered, lost or added shows.
inline QByteArray bytesDePrueba(qsizetype n) {
    QByteArray bytes(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        bytes[i] = static_cast<char>((i + i / 251) & 0xFF);
    return bytes;
}

inline void escribir(const QString& ruta, const QByteArray& bytes) {
    QFile archivo(ruta);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly | QIODevice::Truncate)) << ruta.toStdString();
    archivo.write(bytes);
}

inline QByteArray leer(const QString& ruta) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

// The FileTransferProgress events of a session, in order.
class Eventos : public QList<QPair<qint32, qint32>> {
public:
    explicit Eventos(clsFTP& ftp) {
        QObject::connect(&ftp, &clsFTP::FileTransferProgress, &receptor, [this](qint32 actual, qint32 total) {
            append({actual, total});
        });
    }

private:
    QObject receptor;
};

// Where a session can publish, and how its server name is written.
enum class Destino { PyftpdlibPasivo, PyftpdlibActivo, Vsftpd, VsftpdTls, Carpeta, CarpetaUrl };

inline std::string nombreDe(Destino d) {
    static const char* nombres[] = {"PyftpdlibPasivo", "PyftpdlibActivo", "Vsftpd",
                                    "VsftpdTls",       "Carpeta",         "CarpetaUrl"};
    return nombres[static_cast<int>(d)];
}

inline void PrintTo(Destino d, std::ostream* os) {
    *os << nombreDe(d);
}

// The servers a suite uses, started on first use and stopped with the suite.
class PruebaFtp : public ::testing::Test {
public:
    static void TearDownTestSuite() {
        pyftpdlib.reset();
        vsftpd.reset();
        carpetaLocal.reset();
        wininet::setCaFile(QString());
    }

protected:
    void SetUp() override {
        // Short enough that a fault shows in seconds, long enough for a busy machine.
        wininet::setLimits({5s, 5s});
    }

    static ServidorFtp& servidorPy() {
        if (!pyftpdlib)
            pyftpdlib = std::make_unique<ServidorFtp>();
        return *pyftpdlib;
    }

    static ServidorVsftpd& servidorVs() {
        if (!vsftpd)
            vsftpd = std::make_unique<ServidorVsftpd>();
        return *vsftpd;
    }

    struct Cuenta {
        QString servidor;
        QString usuario;
        QString contrasena;
        QString carpeta; // the target's "/" on disk
        bool activo = false;
        const ServidorFtpDePrueba* proceso = nullptr;
    };

    static Cuenta cuenta(Destino d) {
        switch (d) {
        case Destino::PyftpdlibPasivo:
        case Destino::PyftpdlibActivo: {
            ServidorFtp& s = servidorPy();
            return {
                s.direccion(), s.usuario(), s.contrasena(), s.carpeta(), d == Destino::PyftpdlibActivo, &s};
        }
        case Destino::Vsftpd:
        case Destino::VsftpdTls: {
            ServidorVsftpd& s = servidorVs();
            wininet::setCaFile(s.certificado());
            const QString esquema =
                d == Destino::VsftpdTls ? QStringLiteral("ftps://") : QStringLiteral("ftp://");
            return {esquema + s.direccion(), s.usuario(), s.contrasena(), s.carpeta(), false, &s};
        }
        case Destino::Carpeta:
        case Destino::CarpetaUrl:
            if (!carpetaLocal)
                carpetaLocal = std::make_unique<QTemporaryDir>();
            const QString ruta = carpetaLocal->path();
            return {d == Destino::CarpetaUrl ? QUrl::fromLocalFile(ruta).toString() : ruta, QString(),
                    QString(), ruta};
        }
        return {};
    }

    // A session open on the target, passive unless the target is active.
    static void abrir(clsFTP& ftp, const Cuenta& c) {
        if (c.proceso)
            REQUERIR_SERVIDOR(c.proceso->listo(), c.proceso->motivo().toStdString());
        ftp.SetTransferBinary();
        if (!c.activo)
            ftp.SetModePassive();
        ASSERT_TRUE(ftp.OpenConnection(c.servidor, c.usuario, c.contrasena))
            << ftp.GetLastErrorMessage().toStdString();
    }

    static inline std::unique_ptr<ServidorFtp> pyftpdlib;
    static inline std::unique_ptr<ServidorVsftpd> vsftpd;
    static inline std::unique_ptr<QTemporaryDir> carpetaLocal;
};

// Opens `ftp` on the account, and ends the test when it cannot (skipped without the server).
#define ABRIR(ftp, c)                                                                                        \
    do {                                                                                                     \
        abrir(ftp, c);                                                                                       \
        if (HasFatalFailure() || IsSkipped())                                                                \
            return;                                                                                          \
    } while (false)
