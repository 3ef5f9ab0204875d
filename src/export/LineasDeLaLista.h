#pragma once
// The lines of the listed products, made while the whole catalogue is read once, kept in a temporary
// file and found again by code. For a list of a good part of the catalogue: looked up code by code, its
// products cost the database several times one reading of the whole catalogue. Memory holds about 32
// bytes per listed code; the lines themselves stay on disk.

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QTemporaryFile>
#include <optional>
#include <vector>

class LineasDeLaLista {
public:
    // For about that many listed codes.
    explicit LineasDeLaLista(qint32 codigos);
    // Every listed code (as UTF-8) first, repeated or not; then preparar().
    void agregarCodigo(QByteArrayView clave);
    // False when the temporary file cannot be made (error()).
    bool preparar();
    struct Codigo {
        size_t huella = 0; // the code's hash; 0 for a free place
        qint64 desde = -1; // where its code and line are in the file
        qint32 largoClave = 0;
        qint32 largoLinea = 0;
    };
    // The place of a product of that code when it is wanted and not kept yet, for guardar(); else null.
    Codigo* buscado(QByteArrayView clave);
    // Keeps the line of the product of that code. False when the file cannot be written (error()).
    bool guardar(Codigo& codigo, QByteArrayView clave, QByteArrayView linea);
    // Ends the writing; false when it failed (error()).
    bool terminar();
    // The line kept for that exact code; none when no product carried it.
    std::optional<QByteArray> linea(QByteArrayView clave);
    QString error() const { return motivo; }

private:
    static size_t huellaDe(QByteArrayView clave);
    // The place of that hash, or the free one where it would go.
    Codigo& lugarDe(size_t huella);
    bool vaciar();
    // Fills `destino` from that place of the file; how many bytes it read, -1 on an error.
    qint64 leerEn(qint64 desde, QByteArray& destino);

    std::vector<size_t> huellas; // of the listed codes, until the table is made
    // Open addressing by the code's hash, a place each probe where QHash took three lookups in memory.
    // Two codes of one hash share a place, the second then found as missing and looked up on its own.
    std::vector<Codigo> tabla;
    QTemporaryFile archivo;
    QFile lectura;
    QByteArray pendiente;
    qint64 escritos = 0;
    QString motivo;
};
