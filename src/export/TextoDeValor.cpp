#include "export/TextoDeValor.h"

QString TextoDeValor::operator()(const ado::Field& campo) const {
    const QVariant& valor = campo.Value();
    const int tipo = campo.Type().id();
    if (valor.typeId() != QMetaType::QString || (tipo != QMetaType::Double && tipo != QMetaType::Float))
        return (*this)(valor);
    if (campo.isExactDecimal())
        return formato.decimal(valor.toString());
    // A DOUBLE or FLOAT as the server prints it ("1e20", "0.30000000000000004"): read back as the
    // number it stands for, and written as every other number is.
    bool esNumero = false;
    const double numero = valor.toString().toDouble(&esNumero);
    return esNumero ? formato.doble(numero) : valor.toString();
}

QString TextoDeValor::operator()(const QVariant& valor) const {
    if (valor.isNull())
        return QString();
    switch (valor.typeId()) {
    case QMetaType::QString:
        return valor.toString();
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::Char:
    case QMetaType::SChar:
        return formato.entero(valor.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return formato.entero(valor.toULongLong());
    case QMetaType::Bool:
        return valor.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return formato.doble(valor.toDouble());
    case QMetaType::QDate:
        return formato.fecha(valor.toDate());
    case QMetaType::QDateTime:
        // MySQL's zero date (0000-00-00 00:00:00) is no date: the driver hands it over invalid.
        return valor.toDateTime().isValid() ? formato.fechaYHora(valor.toDateTime()) : QString();
    case QMetaType::QTime:
        return formato.hora(valor.toTime());
    default:
        return valor.toString();
    }
}
