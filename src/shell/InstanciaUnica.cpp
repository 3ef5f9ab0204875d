#include "shell/InstanciaUnica.h"

#include "shell/clsInicio.h"
#include "shell/frmInicial.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalSocket>
#include <spdlog/spdlog.h>

namespace {
const QByteArray pedido = QByteArrayLiteral("mostrar\n");
constexpr int msDeEspera = 1000;
} // namespace

// The same folder reached by another path (a link, a "..") gives the same name.
QString InstanciaUnica::nombreDelServidor(const QString& carpeta) {
    const QFileInfo info(carpeta);
    const QString ruta =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    return QStringLiteral("catalogo-ftp-") +
           QString::fromLatin1(
               QCryptographicHash::hash(ruta.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
}

bool InstanciaUnica::avisarALaQueCorre(const QString& carpeta) {
    QLocalSocket socket;
    socket.connectToServer(nombreDelServidor(carpeta));
    if (!socket.waitForConnected(msDeEspera))
        return false;
    socket.write(pedido);
    socket.waitForBytesWritten(msDeEspera);
    // The answer says the window was shown; a program too busy to answer (in the middle of a send)
    // still runs, so this start ends either way.
    socket.waitForReadyRead(msDeEspera);
    return true;
}

InstanciaUnica::InstanciaUnica(const QString& carpeta, frmInicial& ventana)
    : QObject(&ventana), ventana(ventana) {
    const QString nombre = nombreDelServidor(carpeta);
    servidor.setSocketOptions(QLocalServer::UserAccessOption);
    // No program answered on this name (we asked first), so what is left of it belongs to one that ended
    // without cleaning up.
    if (!servidor.listen(nombre)) {
        QLocalServer::removeServer(nombre);
        if (!servidor.listen(nombre))
            spdlog::warn("Sin aviso entre arranques: {}", servidor.errorString().toStdString());
    }
    connect(&servidor, &QLocalServer::newConnection, this, &InstanciaUnica::atender);
}

void InstanciaUnica::atender() {
    while (QLocalSocket* socket = servidor.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto leer = [this, socket] {
            if (!socket->canReadLine() || socket->readLine() != pedido)
                return;
            spdlog::info("Otro arranque en esta carpeta: se muestra la ventana del programa que ya funciona");
            clsInicio().Restaurar(ventana);
            socket->write(QByteArrayLiteral("ok\n"));
            socket->flush();
        };
        connect(socket, &QLocalSocket::readyRead, this, leer);
        leer();
    }
}
