#pragma once
// The export file: one quoted, comma-separated line per product, in the ANSI code page, CR LF line
// ends. It is written under a temporary name and replaces the previous file only when it is complete,
// so a failure half-way (database gone, disk full) never leaves a half-written file in its place.

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringList>

class ArchivoDeExportacion {
public:
    explicit ArchivoDeExportacion(const QString& ruta);
    // `error`, here and in terminar(): why it could not be opened or written, as the system said it
    // when it happened.
    bool abrir(QString* error);
    // Values are written between double quotes exactly as they are; no values, no line. Gives the line's
    // bytes as written, valid until the next call.
    QByteArrayView escribirLinea(const QStringList& valores);
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
    QString motivo; // of the first write that failed, for terminar()
};
