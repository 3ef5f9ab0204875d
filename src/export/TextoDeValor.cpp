#include "export/TextoDeValor.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

TextoDeValor::TextoDeValor(const QLocale& regional) : regional(regional) {
    this->regional.setNumberOptions(QLocale::OmitGroupSeparator);
    // The long time format, without the time zone some locales add to it.
    formatoHora = regional.timeFormat(QLocale::LongFormat).remove(QLatin1Char('t')).trimmed();
    separadorDecimal = regional.decimalPoint().at(0);
}

QString TextoDeValor::operator()(const ado::Field& campo) const {
    const QVariant& valor = campo.Value();
    if (valor.typeId() == QMetaType::QString && campo.Type().id() == QMetaType::Double)
        return decimal(valor.toString());
    return (*this)(valor);
}

// "85.50" is 85.5, "12.000" is 12: no fixed number of decimals, and the regional decimal separator.
QString TextoDeValor::decimal(const QString& texto) const {
    const qsizetype punto = texto.indexOf(QLatin1Char('.'));
    if (punto < 0)
        return texto;
    qsizetype fin = texto.size();
    while (fin > punto + 1 && texto.at(fin - 1) == QLatin1Char('0'))
        --fin;
    if (fin == punto + 1)
        return texto.left(punto);
    QString numero = texto.left(fin);
    numero[punto] = separadorDecimal;
    return numero;
}

QString TextoDeValor::operator()(const QVariant& valor) const {
    if (valor.isNull())
        return QString();
    switch (valor.typeId()) {
    case QMetaType::QString:
        return valor.toString();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return regional.toString(valor.toLongLong());
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return regional.toString(valor.toULongLong());
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        // Fifteen significant digits: what a double holds exactly, so 85.5 stays 85.5.
        return regional.toString(valor.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return regional.toString(valor.toDate(), QLocale::ShortFormat);
    case QMetaType::QDateTime: {
        const QDateTime momento = valor.toDateTime();
        QString texto = regional.toString(momento.date(), QLocale::ShortFormat);
        if (momento.time() != QTime(0, 0))
            texto += QLatin1Char(' ') + regional.toString(momento.time(), formatoHora);
        return texto;
    }
    case QMetaType::QTime:
        return regional.toString(valor.toTime(), formatoHora);
    default:
        return valor.toString();
    }
}
