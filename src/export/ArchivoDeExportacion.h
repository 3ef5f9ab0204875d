#pragma once
// The export file: one quoted, comma-separated line per product, in the ANSI code page, CR LF line
// ends. It is written under a temporary name and replaces the previous file only when it is complete,
// so a failure half-way (database gone, disk full) never leaves a half-written file in its place.

#include <QByteArray>
#include <QSaveFile>
#include <QString>

class ArchivoDeExportacion {
public:
    explicit ArchivoDeExportacion(const QString& ruta);
    // `error`, here and in terminar(): why it could not be opened or written, as the system said it
    // when it happened.
    bool abrir(QString* error);
    // A line is made in a buffer of the caller's: `valor` before the text of each value (in the ANSI code
    // page), `finDeLinea` after the last. Values go between double quotes exactly as they are.
    static void valor(QByteArray& linea) { linea += linea.isEmpty() ? "\"" : "\",\""; }
    static void finDeLinea(QByteArray& linea) { linea += "\"\r\n"; }
    // Appends lines so made; an empty buffer (no values) is no line.
    void escribir(QByteArrayView lineas);
    // Writes what is pending and puts the file in place; false when anything failed.
    bool terminar(QString* error);
    // Gives the temporary file up; the previous export file stays as it was.
    void descartar();
    qint64 bytes() const { return escritos + pendiente.size(); }

private:
    bool vaciar();

    QSaveFile archivo;
    QByteArray pendiente;
    qint64 escritos = 0;
    bool fallo = false;
    QString motivo; // why a write failed, kept until terminar() says it
};
