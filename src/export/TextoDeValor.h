#pragma once
// How a database value becomes the text of a column in the export file: text as stored, numbers in
// plain decimal with the regional decimal separator (no grouping, no padding, no fixed decimals),
// dates in the regional short date format with the time added when it is not midnight. NULL is "".

#include <QLocale>
#include <QString>
#include <QVariant>

class TextoDeValor {
public:
    explicit TextoDeValor(const QLocale& regional = QLocale::system());
    QString operator()(const QVariant& valor) const;

private:
    QLocale regional;
    QString formatoHora;
};
