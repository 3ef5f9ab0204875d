#pragma once
// How a database value becomes the text of a column in the export file: text as stored, numbers and
// dates as FormatoRegional writes them. NULL is "".

#include "export/FormatoRegional.h"
#include "winapi/ado.h"

#include <QString>
#include <QVariant>

class TextoDeValor {
public:
    explicit TextoDeValor(const FormatoRegional& formato = FormatoRegional()) : formato(formato) {}
    QString operator()(const QVariant& valor) const;
    // A column of the database: a number the database hands over as text (every numeric column under
    // the export's QSql::HighPrecision) is written as a number too, a DECIMAL's digits as they are.
    QString operator()(const ado::Field& campo) const;

private:
    FormatoRegional formato;
};
