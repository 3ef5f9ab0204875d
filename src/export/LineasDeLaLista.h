#pragma once
// The lines of the listed products, made while the whole catalogue is read once and found again by
// code. For a list of a good part of the catalogue: looked up code by code, its products cost the
// database several times one reading of the whole catalogue. The lines stay in memory up to a fixed
// size and go to a temporary file beyond it, so that a list of a catalogue of any size takes about 21
// bytes per listed code beside them (and the export matches a long list a window of codes at a time).

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryFile>
#include <optional>
#include <vector>

class LineasDeLaLista {
public:
    // The lines kept in memory before the rest goes to disk: nearly all of those of a list of 100,000
    // products, whose lines come back from disk one read each.
    static constexpr qsizetype kEnMemoria = 8 * 1024 * 1024;

    // For about that many listed codes.
    explicit LineasDeLaLista(qint32 codigos, qsizetype enMemoria = kEnMemoria);
    // Every listed code (as UTF-8), repeated or not, before the first buscado().
    void agregarCodigo(QByteArrayView clave);
    struct Codigo {
        quint32 huella = 0; // the code's hash; 0 for a free place
        quint32 largo = 0;  // of what is kept: the code's length, the code, the line
        qint64 desde = -1;  // where that is kept
    };
    // The place of a product of that code when it is wanted and not kept yet, for guardar(); else null.
    Codigo* buscado(QByteArrayView clave);
    // Keeps the line of the product of that code. False when the file cannot be written (error()).
    bool guardar(Codigo& codigo, QByteArrayView clave, QByteArrayView linea);
    // Ends the keeping; false when it failed (error()).
    bool terminar();
    // The line kept for each of those exact codes; none where no product carried it. Many at once, so
    // that the memory of one is fetched while another is looked at.
    void lineas(const QList<QByteArray>& claves, std::vector<std::optional<QByteArray>>& halladas);
    QString error() const { return motivo; }

private:
    static quint32 huellaDe(QByteArrayView clave);
    // The place of that hash, or the free one where it would go.
    Codigo& lugarDe(quint32 huella);
    size_t inicioDe(quint32 huella) const;
    // Puts the codes added so far in the table.
    void ubicar();
    std::optional<QByteArray> lineaDe(const Codigo& codigo, QByteArrayView clave);
    bool vaciar();
    // Fills `destino` from that place of the file; how many bytes it read, -1 on an error.
    qint64 leerEn(qint64 desde, QByteArray& destino);

    // Open addressing by the code's hash, a place each probe. Two codes of one hash share a place, the
    // second then found as missing and looked up on its own.
    std::vector<Codigo> tabla;
    std::vector<quint32> porUbicar; // hashes of codes added, put in the table a few at a time
    const qsizetype enMemoria;
    QByteArray memoria;  // the first lines kept
    bool aDisco = false; // memory is full: the rest goes to the file
    QTemporaryFile archivo;
    QFile lectura;
    QByteArray pendiente; // for the file, written in blocks
    qint64 escritos = 0;  // to the file
    QByteArray leida;
    QString motivo;
};
