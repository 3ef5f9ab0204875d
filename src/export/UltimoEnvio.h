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
    enum class Fin {
        publicado,
        sinCambios, // the server already held this very file
        retenido,   // most of the catalogue was gone: it waits for the shop
        fallido
    };
    QDateTime cuando;
    Fin fin = Fin::fallido;
    qint32 escritos = 0; // lines written
    qint32 total = 0;    // products listed
    qint64 bytes = 0;
    QString cambios; // published: what changed since the publication before
    QDateTime desde; // unchanged: when the file the server holds was published
    QString motivo;  // held or failed: why it was not published
};

// Log the end of a send: published to `destino` with what changed, the same file that was published
// `desde` still there, held with both counts, or failed and why.
void anotarPublicacion(qint32 escritos, qint32 total, qint64 bytes, const QString& destino,
                       const QString& cambios);
void anotarSinCambios(qint32 escritos, qint32 total, qint64 bytes, const QString& destino,
                      const QDateTime& desde);
void anotarRetencion(qint32 escritos, qint32 total, qint32 publicados);
void anotarFallo(qint32 escritos, qint32 total, QString motivo);

// Why a send was held: "8 productos frente a los 300 de la última publicación".
QString textoDeRetencion(qint32 productos, qint32 publicados);

// The last send's end in the log of that folder (the current file, else the one before it).
std::optional<UltimoEnvio> leerUltimoEnvio(const QString& carpeta);

// What the window says of it: "Último envío: <date>, publicado: 300 productos, 12,345 bytes; Cambios: …",
// "…, sin cambios desde <date>: 300 productos, 12,345 bytes", "…, retenido: <why>; no se publicó" or
// "…, no se publicó: <why>"; "Último envío: ninguno" before the first.
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
