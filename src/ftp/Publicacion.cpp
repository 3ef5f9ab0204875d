#include "ftp/Publicacion.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QTemporaryFile>
#include <spdlog/spdlog.h>

namespace {

// The name the file travels under before it takes its own: in the same folder, so that the rename is a
// rename and not a copy; and the same each time, so that a send cut short leaves one leftover at most,
// which the next send replaces. Hidden from listings by a leading dot, unless the server refuses such
// names (a common hosting rule).
QString nombreTemporal(const QString& remoto, bool oculto) {
    const qsizetype barra = remoto.lastIndexOf(u'/');
    return remoto.left(barra + 1) + (oculto ? QStringLiteral(".") : QString()) + remoto.mid(barra + 1) +
           QStringLiteral(".subiendo");
}

// The server answered no. After a time-out or a dropped connection nothing is known of what it did, and
// a 421 is the server closing the connection, not an answer to the command.
bool rechazo(const clsFTP& ftp) {
    return ftp.lastErrorCode() == wininet::ERROR_INTERNET_EXTENDED_ERROR &&
           !ftp.GetLastErrorMessage().startsWith(QLatin1String("421"));
}

// Removes the temporary. One the server refuses to delete is emptied instead, where the server says it
// holds something, so that no second copy of the catalogue stays in the shop's web space.
void quitar(clsFTP& ftp, const QString& temporal) {
    if (ftp.DeleteFTPFile(temporal) || !rechazo(ftp) || ftp.RemoteFileSize(temporal) <= 0)
        return;
    QTemporaryFile vacio;
    if (!vacio.open())
        return;
    const QSignalBlocker sinAvance(ftp); // the upload's progress is the catalogue's, not this
    ftp.FTPUploadFile(vacio.fileName(), temporal);
}

} // namespace

bool publicar(clsFTP& ftp, const QString& local, const QString& remoto, QString* error) {
    QString temporal = nombreTemporal(remoto, true);
    const auto decir = [error](const QString& porQue) {
        if (error)
            *error = porQue;
        return false;
    };
    // The reason is taken before the clean-up, whose own failure would replace it.
    const auto fallar = [&] {
        const QString porQue = ftp.GetLastErrorMessage().trimmed();
        quitar(ftp, temporal);
        return decir(porQue);
    };

    bool subido = ftp.FTPUploadFile(local, temporal);
    if (!subido && rechazo(ftp) && ftp.lastErrorContext() == QLatin1String("FtpOpenFile:PutFile")) {
        temporal = nombreTemporal(remoto, false);
        subido = ftp.FTPUploadFile(local, temporal);
    }
    if (!subido)
        return fallar();
    const qint64 tamano = QFileInfo(local).size();
    if (const qint64 recibido = ftp.RemoteFileSize(temporal); recibido >= 0 && recibido != tamano) {
        quitar(ftp, temporal);
        return decir(QStringLiteral("el servidor recibió %1 bytes de %2").arg(recibido).arg(tamano));
    }

    if (ftp.RenameFTPFile(temporal, remoto))
        return true;
    // Only a server that said no is tried another way. After silence or a dropped connection the rename
    // may or may not have happened, and deleting the published file on that guess could leave the shop
    // with none.
    if (!rechazo(ftp))
        return fallar();
    // Some servers refuse to rename onto an existing file: the old one goes right before.
    if (!ftp.DeleteFTPFile(remoto) && !rechazo(ftp))
        return fallar();
    if (ftp.RenameFTPFile(temporal, remoto))
        return true;
    if (!rechazo(ftp))
        return fallar();
    // One that cannot rename at all gets the file under its own name, as before there was a temporary.
    spdlog::warn("Envío: el servidor no cambió el nombre de '{}' ({}); se subió directamente a '{}'",
                 temporal.toStdString(), ftp.GetLastErrorMessage().trimmed().toStdString(),
                 remoto.toStdString());
    quitar(ftp, temporal);
    return ftp.FTPUploadFile(local, remoto) || decir(ftp.GetLastErrorMessage().trimmed());
}

EnElServidor comparar(clsFTP& ftp, const QString& remoto, qint64 bytes) {
    qint32 respuesta = 0;
    const qint64 tamano = ftp.RemoteFileSize(remoto, &respuesta);
    if (respuesta == 213)
        return tamano == bytes ? EnElServidor::igual : EnElServidor::distinto;
    // 550 is "no such file"; other permanent refusals (500, 502, 504) say the command is not there.
    return respuesta >= 500 && respuesta != 550 ? EnElServidor::noSabe : EnElServidor::distinto;
}
