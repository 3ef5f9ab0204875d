#include "relevo_tcp.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

RelevoTcp::RelevoTcp(quint16 destino, qint64 bytesDelServidor) {
    auto* escucha = new QTcpServer;
    escucha->moveToThread(&hilo);
    QObject::connect(&hilo, &QThread::finished, escucha, &QObject::deleteLater);
    hilo.start();
    QMetaObject::invokeMethod(
        escucha,
        [=, this] {
            escucha->listen(QHostAddress::LocalHost);
            puerto_ = escucha->serverPort();
        },
        Qt::BlockingQueuedConnection);
    QObject::connect(escucha, &QTcpServer::newConnection, escucha, [=] {
        QTcpSocket* programa = escucha->nextPendingConnection();
        auto* servidor = new QTcpSocket(programa);
        auto restan = std::make_shared<qint64>(bytesDelServidor);
        QObject::connect(programa, &QTcpSocket::readyRead, servidor,
                         [=] { servidor->write(programa->readAll()); });
        QObject::connect(servidor, &QTcpSocket::readyRead, programa, [=] {
            // Past the budget the server's bytes stay unread: the program waits for what never comes.
            const QByteArray bytes = servidor->read(*restan);
            *restan -= bytes.size();
            programa->write(bytes);
        });
        servidor->connectToHost(QHostAddress::LocalHost, destino);
    });
}

RelevoTcp::~RelevoTcp() {
    hilo.quit();
    hilo.wait();
}
