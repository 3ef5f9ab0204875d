#pragma once
// How a send ended, as its line in the log says. The line is written when a send ends; the window reads
// the last one back at start-up and after each of its sends, so that it shows the outcome of a send
// made before a restart or by a scheduled `enviar` of the same folder.

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

struct UltimoEnvio {
    QDateTime cuando;
    bool publicado = false;
    qint32 escritos = 0; // lines written
    qint32 total = 0;    // products listed
    qint64 bytes = 0;
    QString motivo; // why it was not published
};

// Log the end of a send: published to `destino`, or not and why.
void anotarPublicacion(qint32 escritos, qint32 total, qint64 bytes, const QString& destino);
void anotarFallo(qint32 escritos, qint32 total, QString motivo);

// The last send's end in the log of that folder (the current file, else the one before it).
std::optional<UltimoEnvio> leerUltimoEnvio(const QString& carpeta);

// What the window says of it: "Último envío: <date>, publicado: 300 productos, 12,345 bytes" or
// "Último envío: <date>, no se publicó: <why>"; "Último envío: ninguno" before the first.
QString textoDeEnvio(const std::optional<UltimoEnvio>& envio);

// Watches the log of a folder for a send's end written by any process (a scheduled `enviar`): it looks at
// the file's size and time once a second, a stat that costs next to nothing, where a file watcher would
// miss, on Windows, the writes of a process that keeps the file open; a rotation changes both too.
class VigilanteDeBitacora : public QObject {
    Q_OBJECT
public:
    VigilanteDeBitacora(const QString& carpeta, QObject* parent);

signals:
    // The log changed: it may hold a new send's end.
    void cambio();

private:
    using Huella = QPair<qint64, QDateTime>; // size (-1: no file) and time of the last change
    Huella huella() const;
    void mirar();

    const QString archivo;
    Huella visto;
    QTimer reloj;
};
