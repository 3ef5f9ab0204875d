#pragma once
// Every text of a send that depends on the shop's regional settings, in one place: the decimal
// separator and the dates of the export file, and the grouped byte counts of the upload progress.
// Everything else about a number is plain, whatever the settings: ASCII digits, "-" for negatives, no
// grouping, no exponent, no padding. A web developer's CSV reader takes that as a number, and the ANSI
// file never meets a typographic minus it would have to store as "?".

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

class FormatoRegional {
public:
    // The default locale is the system's, unless a test has set another.
    explicit FormatoRegional(const QLocale& regional = QLocale());

    QString entero(qint64 numero) const;
    QString entero(quint64 numero) const;
    // A decimal as the database writes it ("85.50", "-0.500"): no trailing zeros, the regional separator.
    QString decimal(const QString& textoDecimal) const;
    // The same, from the database's bytes straight to the export file's (the ANSI code page).
    void decimal(QByteArray& destino, QByteArrayView textoDecimal) const;
    // Fifteen significant digits, what a double holds exactly (0.1 + 0.2 is 0.3), written out in full.
    QString doble(double numero) const;
    // The regional short date.
    QString fecha(QDate dia) const;
    // The regional time with seconds, without the time zone some regional formats add.
    QString hora(QTime momento) const;
    // The short date, and the time after a space when it is not midnight.
    QString fechaYHora(const QDateTime& momento) const;
    // "###,###,##0": groups of three with the regional thousands separator, also for four digits.
    QString conMiles(qint64 numero) const;

private:
    QLocale regional;
    QString formatoHora;
    QString separadorDecimal;
    QByteArray separadorDecimalAnsi;
    QString separadorMiles;
};
