#pragma once
// A TCP relay to a server on 127.0.0.1, on a thread of its own, that stops passing on what the server
// says after a given number of bytes and holds the connection open: a server that stops answering
// half-way through a result, wherever the program's reading stands.

#include <QThread>
#include <QtGlobal>

class RelevoTcp {
public:
    RelevoTcp(quint16 destino, qint64 bytesDelServidor);
    ~RelevoTcp();
    quint16 puerto() const { return puerto_; }

private:
    QThread hilo;
    quint16 puerto_ = 0;
};
