#include "ftp/Publicacion.h"

#include <QFileInfo>
#include <spdlog/spdlog.h>

namespace {

// The name the file travels under before it takes its own: in the same folder, so that the rename is a
// rename and not a copy; hidden from listings; and the same each time, so that a send cut short leaves
// one leftover at most, which the next send replaces.
QString nombreTemporal(const QString& remoto) {
    const qsizetype barra = remoto.lastIndexOf(u'/');
    return remoto.left(barra + 1) + u'.' + remoto.mid(barra + 1) + QStringLiteral(".subiendo");
}

} // namespace

bool publicar(clsFTP& ftp, const QString& local, const QString& remoto, QString& motivo) {
    const QString temporal = nombreTemporal(remoto);
    // The reason is taken before the clean-up, whose own failure would replace it.
    const auto fallar = [&](const QString& porQue) {
        motivo = porQue;
        ftp.DeleteFTPFile(temporal);
        return false;
    };
    if (!ftp.FTPUploadFile(local, temporal))
        return fallar(ftp.GetLastErrorMessage().trimmed());
    const qint64 tamano = QFileInfo(local).size();
    if (const qint64 recibido = ftp.RemoteFileSize(temporal); recibido >= 0 && recibido != tamano)
        return fallar(QStringLiteral("el servidor recibió %1 bytes de %2").arg(recibido).arg(tamano));

    if (ftp.RenameFTPFile(temporal, remoto))
        return true;
    // Some servers refuse to rename onto an existing file: the old one goes right before.
    ftp.DeleteFTPFile(remoto);
    if (ftp.RenameFTPFile(temporal, remoto))
        return true;
    // One that cannot rename at all gets the file under its own name, as before there was a temporary.
    spdlog::warn("Envío: el servidor no cambió el nombre de '{}' ({}); se subió directamente a '{}'",
                 temporal.toStdString(), ftp.GetLastErrorMessage().trimmed().toStdString(),
                 remoto.toStdString());
    ftp.DeleteFTPFile(temporal);
    if (ftp.FTPUploadFile(local, remoto))
        return true;
    motivo = ftp.GetLastErrorMessage().trimmed();
    return false;
}
