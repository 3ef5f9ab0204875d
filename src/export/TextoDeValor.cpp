#include "export/TextoDeValor.h"

QString TextoDeValor::operator()(const ado::Field& campo) const {
    const QVariant& valor = campo.Value();
    if (valor.typeId() == QMetaType::QString && campo.Type().id() == QMetaType::Double)
        return formato.decimal(valor.toString());
    return (*this)(valor);
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
        return formato.fechaYHora(valor.toDateTime());
    case QMetaType::QTime:
        return formato.hora(valor.toTime());
    default:
        return valor.toString();
    }
}
