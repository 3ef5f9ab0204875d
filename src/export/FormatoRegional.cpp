#include "export/FormatoRegional.h"

#include <QRegularExpression>
#include <cmath>

namespace {

// The long time format less its time zone ("H:mm:ss (t)" is "H:mm:ss"): a catalogue has no use for the
// zone of the machine that wrote it, and brackets left empty would be noise in every date.
QString sinZonaHoraria(const QString& formato) {
    QString resultado;
    bool literal = false;
    for (const QChar c : formato) {
        if (c == QLatin1Char('\''))
            literal = !literal;
        if (literal || c != QLatin1Char('t'))
            resultado += c;
    }
    static const QRegularExpression vacios(QStringLiteral(R"(\(\s*\)|\[\s*\])"));
    return resultado.remove(vacios).simplified();
}

} // namespace

FormatoRegional::FormatoRegional(const QLocale& regional)
    : regional(regional), formatoHora(sinZonaHoraria(regional.timeFormat(QLocale::LongFormat))),
      separadorDecimal(regional.decimalPoint()), separadorMiles(regional.groupSeparator()) {}

QString FormatoRegional::entero(qint64 numero) const {
    return QString::number(numero);
}

QString FormatoRegional::entero(quint64 numero) const {
    return QString::number(numero);
}

QString FormatoRegional::decimal(const QString& textoDecimal) const {
    const qsizetype punto = textoDecimal.indexOf(QLatin1Char('.'));
    QString numero = textoDecimal;
    if (punto >= 0) {
        qsizetype fin = numero.size();
        while (fin > punto + 1 && numero.at(fin - 1) == QLatin1Char('0'))
            --fin;
        numero.truncate(fin == punto + 1 ? punto : fin);
        if (fin > punto + 1)
            numero.replace(punto, 1, separadorDecimal);
    }
    return numero == QLatin1String("-0") ? QStringLiteral("0") : numero;
}

QString FormatoRegional::doble(double numero) const {
    if (!std::isfinite(numero))
        return QString();
    const double redondeado = QString::number(numero, 'g', 15).toDouble();
    return decimal(QString::number(redondeado, 'f', QLocale::FloatingPointShortest));
}

QString FormatoRegional::fecha(QDate dia) const {
    return regional.toString(dia, QLocale::ShortFormat);
}

QString FormatoRegional::hora(QTime momento) const {
    return regional.toString(momento, formatoHora);
}

QString FormatoRegional::fechaYHora(const QDateTime& momento) const {
    QString texto = fecha(momento.date());
    if (momento.time() != QTime(0, 0))
        texto += QLatin1Char(' ') + hora(momento.time());
    return texto;
}

QString FormatoRegional::conMiles(qint64 numero) const {
    const quint64 absoluto = numero < 0 ? 0 - static_cast<quint64>(numero) : static_cast<quint64>(numero);
    QString cifras = QString::number(absoluto);
    for (qsizetype i = cifras.size() - 3; i > 0; i -= 3)
        cifras.insert(i, separadorMiles);
    return numero < 0 ? QLatin1Char('-') + cifras : cifras;
}
