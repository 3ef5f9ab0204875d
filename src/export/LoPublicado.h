#pragma once
// What the last publication put on the server, kept in the program folder: enough for the next send to
// tell, without the server's help, whether its catalogue is the same file, how many products came, went
// or changed, and whether so many went that it should wait for the shop.

#include "export/HuellaDelCatalogo.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

struct LoPublicado {
    QByteArray destino; // a hash of server, user, folder and file name: another is a new publication
    qint64 bytes = 0;
    QByteArray resumen;   // of the whole file
    QDateTime publicado;  // when these bytes were first published
    QDateTime subido;     // the last upload the server confirmed
    qint32 lineas = 0;    // products published: lines of the file
    qint32 productos = 0; // by code, kept after these fields in the file read
    QString ruta;         // that file, and where in it the products start
    qint64 desde = 0;
};

// The hash that stands for a publishing target in LoPublicado::destino. Hashed, because the server, the
// user and the folder are stored enciphered in the settings.
QByteArray destinoDe(const QString& servidor, const QString& usuario, const QString& remoto);

// What a publication that the server confirmed `ahora` leaves kept; `anterior`, the one before to the
// same target, if any, keeps its time when the bytes are the same.
LoPublicado publicacionDe(const HuellaDelCatalogo& huella, const QByteArray& destino,
                          const LoPublicado* anterior, const QDateTime& ahora);

enum class LecturaDeLoPublicado {
    ninguno,  // never published here: no file
    danado,   // cut short or not ours: taken as never published, `error` says what was found
    ilegible, // there but unreadable: `error` says why, and it must not be written over
    leido
};
// Checks the whole file, a block at a time, and reads its fields; the products stay in the file.
LecturaDeLoPublicado leerLoPublicado(const QString& ruta, LoPublicado& publicado, QString* error);

// Fewer than half the products of a publication that had at least 20: most of the catalogue is gone,
// which is far likelier a wrong database or a list cut short than a shop's real change.
bool retener(const LoPublicado& anterior, qint32 lineas);

// Products by code since the last publication: new codes, codes gone, and codes whose line differs.
struct CambiosDelCatalogo {
    qint32 nuevos = 0;
    qint32 retirados = 0;
    qint32 modificados = 0;
};

// Keeps `nuevo` with `huella`'s products at `ruta`, replacing the file whole (a temporary renamed over it),
// once the server has the file. `cambios`: what changed since `anterior`, read from that same file before
// it is replaced; none without one, or when it could not be read. False when nothing could be kept.
bool guardarPublicacion(const QString& ruta, LoPublicado nuevo, const HuellaDelCatalogo& huella,
                        const LoPublicado* anterior, std::optional<CambiosDelCatalogo>& cambios,
                        QString* error);
// "Cambios: 1 nuevo, 0 retirados, 2 modificados"; "Primera publicación" without a publication
// before.
QString textoDeCambios(const std::optional<CambiosDelCatalogo>& cambios);
