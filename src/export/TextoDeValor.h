#pragma once
// How a database value becomes the text of a column in the export file: text as stored, numbers and
// dates as FormatoRegional writes them. NULL is "".

#include "components/LecturaMySQL.h"
#include "export/FormatoRegional.h"
#include "winapi/ado.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

class TextoDeValor {
public:
    explicit TextoDeValor(const FormatoRegional& formato = FormatoRegional()) : formato(formato) {}
    QString operator()(const QVariant& valor) const;
    // A column of the database: a number the database hands over as text (every numeric column under
    // the export's QSql::HighPrecision) is written as a number too, a DECIMAL's digits as they are.
    QString operator()(const ado::Field& campo) const;
    // A MySQL value as the server sent it, appended in the ANSI code page: the same text as the value
    // read through Qt SQL gives. Plain texts, integers and decimals, nearly all of a catalogue, go from
    // the server's bytes to the file's without a QString.
    void agregar(QByteArray& destino, const ValorMySQL& valor) const;

private:
    FormatoRegional formato;
};
