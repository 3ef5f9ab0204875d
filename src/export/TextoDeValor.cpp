#include "export/TextoDeValor.h"

#include "winapi/ansi.h"

#include <algorithm>
#include <limits>

namespace {

// The same bytes in every ANSI code page and in UTF-8.
bool esAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether a whole number of that type prints again as the server wrote it.
bool cabeEn(int tipo, qint64 numero) {
    switch (tipo) {
    case QMetaType::Char:
    case QMetaType::Short:
    case QMetaType::Int:
        return numero >= std::numeric_limits<qint32>::min() && numero <= std::numeric_limits<qint32>::max();
    case QMetaType::UChar:
    case QMetaType::UShort:
    case QMetaType::UInt:
        return numero >= 0 && numero <= std::numeric_limits<quint32>::max();
    case QMetaType::LongLong:
        return true;
    case QMetaType::ULongLong:
        return numero >= 0;
    default:
        return false;
    }
}

} // namespace

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

void TextoDeValor::agregar(QByteArray& destino, const ValorMySQL& valor) const {
    if (valor.datos == nullptr)
        return;
    const QByteArrayView bytes = valor.bytes();
    const int tipo = valor.tipo.id();
    if ((tipo == QMetaType::QString || tipo == QMetaType::QByteArray) && esAscii(bytes)) {
        destino.append(bytes);
    } else if (tipo == QMetaType::QString || tipo == QMetaType::QByteArray) {
        agregarAnsi(destino, QString::fromUtf8(bytes));
    } else if (const std::optional<qint64> numero = valor.entero(); numero && cabeEn(tipo, *numero)) {
        destino.append(bytes); // the server's text of an integer is the one QString::number gives
    } else if (tipo == QMetaType::Double && valor.decimalExacto) {
        formato.decimal(destino, bytes);
    } else {
        // Zero-filled integers, DOUBLE, FLOAT and dates: few, and written as Qt SQL's value is.
        agregarAnsi(destino,
                    (*this)(ado::Field(QString(), comoQtSql(valor), valor.tipo, valor.decimalExacto)));
    }
}
