#pragma once
// How a database value becomes the text of a column in the export file: text as stored, numbers in
// plain decimal with the regional decimal separator (no grouping, no padding, no fixed decimals),
// dates in the regional short date format with the time added when it is not midnight. NULL is "".

#include "winapi/ado.h"

#include <QLocale>
#include <QString>
#include <QVariant>

class TextoDeValor {
public:
    explicit TextoDeValor(const QLocale& regional = QLocale::system());
    QString operator()(const QVariant& valor) const;
    // A column of the database: a number the database hands over as its decimal text (MySQL's DECIMAL)
    // is written as a number too.
    QString operator()(const ado::Field& campo) const;

private:
    QString decimal(const QString& texto) const;

    QLocale regional;
    QString formatoHora;
    QChar separadorDecimal;
};
