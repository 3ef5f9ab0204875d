#include "export/FormatoRegional.h"

#include "winapi/ansi.h"

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

// What a decimal's text keeps: its trailing zeros dropped, and its point too when nothing follows it.
struct Recorte {
    qsizetype fin;     // the length kept
    qsizetype punto;   // where the point is, -1 without one
    bool ceroNegativo; // "-0" once cut, which is written "0"
};

template <class Texto> Recorte recortar(const Texto& texto) {
    const qsizetype punto = texto.indexOf('.');
    qsizetype fin = texto.size();
    if (punto >= 0) {
        while (fin > punto + 1 && texto.at(fin - 1) == '0')
            --fin;
        if (fin == punto + 1)
            fin = punto;
    }
    return {fin, punto, fin == 2 && texto.at(0) == '-' && texto.at(1) == '0'};
}

} // namespace

FormatoRegional::FormatoRegional(const QLocale& regional)
    : regional(regional), formatoHora(sinZonaHoraria(regional.timeFormat(QLocale::LongFormat))),
      separadorDecimal(regional.decimalPoint()), separadorDecimalAnsi(aAnsi(separadorDecimal)),
      separadorMiles(regional.groupSeparator()) {}

QString FormatoRegional::entero(qint64 numero) const {
    return QString::number(numero);
}

QString FormatoRegional::entero(quint64 numero) const {
    return QString::number(numero);
}

QString FormatoRegional::decimal(const QString& textoDecimal) const {
    const Recorte r = recortar(textoDecimal);
    if (r.ceroNegativo)
        return QStringLiteral("0");
    QString numero = textoDecimal.left(r.fin);
    if (r.fin > r.punto && r.punto >= 0)
        numero.replace(r.punto, 1, separadorDecimal);
    return numero;
}

void FormatoRegional::decimal(QByteArray& destino, QByteArrayView textoDecimal) const {
    const Recorte r = recortar(textoDecimal);
    if (r.ceroNegativo) {
        destino += '0';
    } else if (r.fin > r.punto && r.punto >= 0) {
        destino.append(textoDecimal.first(r.punto)).append(separadorDecimalAnsi);
        destino.append(textoDecimal.sliced(r.punto + 1, r.fin - r.punto - 1));
    } else {
        destino.append(textoDecimal.first(r.fin));
    }
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
