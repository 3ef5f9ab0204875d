#pragma once
// One send: builds the export file from the point-of-sale database and publishes it to the FTP
// folder. A fresh object serves each send and is released right afterwards; it owns its FTP session.

#include "ftp/clsFTP.h"
#include "modulo/Ritmo.h"

#include <QObject>
#include <QString>

class Avance;

class clsDeProductos : public QObject {
    Q_OBJECT
public:
    // How the last CrearArchivo ended; `enviar` turns it into its exit status.
    enum class Resultado {
        SinEnviar,
        Enviado,
        SinBaseDeDatos,
        ArchivoIncompleto,
        SinConexionFtp,
        SubidaFallida
    };
    Q_ENUM(Resultado)

    explicit clsDeProductos(Avance& avance, QObject* parent = nullptr);
    ~clsDeProductos() override;

    // Builds the export file and uploads it; returns when both have ended.
    void CrearArchivo();
    Resultado resultado() const { return ultimo; }
    // Why the last send did not publish the file, in words for the log and for `enviar`.
    QString detalle() const { return ultimoDetalle; }

private:
    void SubirArchivo();
    void mFTP_FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes);

    Avance& avance;
    clsFTP mFTP;
    bool blMostrarAvance = false;
    QString stNombreArchivo;
    Resultado ultimo = Resultado::SinEnviar;
    QString ultimoDetalle;
    Ritmo ritmoFtp;
};
