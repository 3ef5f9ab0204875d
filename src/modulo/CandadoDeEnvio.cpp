#include "modulo/CandadoDeEnvio.h"

#include <QDeadlineTimer>

CandadoDeEnvio::CandadoDeEnvio(const QString& carpeta)
    : candado(carpeta + QStringLiteral("/catalogo-ftp.lock")) {
    // A send may take minutes on a slow line: only a holder that is no longer running (a crash, a
    // power cut) leaves a lock to break, never the lock's age.
    candado.setStaleLockTime(0);
}

bool CandadoDeEnvio::tomar(const std::function<void()>& esperando) {
    const QDeadlineTimer limite(nMilisegundosDeEspera);
    while (!candado.tryLock(50)) {
        if (candado.error() != QLockFile::LockFailedError || limite.hasExpired())
            return false;
        esperando();
    }
    return true;
}

QString CandadoDeEnvio::motivo() const {
    if (candado.error() != QLockFile::LockFailedError)
        return QStringLiteral("no se puede crear el archivo catalogo-ftp.lock en la carpeta del programa");
    qint64 proceso = 0;
    QString programa;
    QString equipo;
    candado.getLockInfo(&proceso, &equipo, &programa);
    return QStringLiteral("otro envío de esta carpeta (proceso %1) seguía en curso después de esperarlo %2 s")
        .arg(proceso)
        .arg(nMilisegundosDeEspera / 1000.0);
}
