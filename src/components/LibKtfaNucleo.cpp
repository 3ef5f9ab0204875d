#include "components/ArchivoIni.h"
#include "components/Nucleo.h"

#include <QLocale>
#include <QMetaObject>
#include <QObject>

QString LibKtfaNucleo::LeeIni(const QString& seccion, const QString& clave, const QString& archivo) {
    cError.clear();
    return ini::leer(archivo, seccion, clave, &cError);
}

bool LibKtfaNucleo::EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                               const QString& archivo) {
    cError.clear();
    return ini::escribir(archivo, seccion, clave, valor, &cError);
}

double LibKtfaNucleo::nxVal(const QString& texto) {
    qsizetype i = 0;
    while (i < texto.size() && (texto.at(i) == QLatin1Char(' ') || texto.at(i) == QLatin1Char('\t')))
        ++i;
    QString numero;
    if (i < texto.size() && (texto.at(i) == QLatin1Char('-') || texto.at(i) == QLatin1Char('+')))
        numero += texto.at(i++);
    bool conPunto = false;
    bool conCifras = false;
    for (; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('.') && !conPunto)
            conPunto = true;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            conCifras = true;
        else
            break;
        numero += c;
    }
    // "-" or "." alone spell no number.
    return conCifras ? QLocale::c().toDouble(numero) : 0.0;
}

void LibKtfaNucleo::Resalta(QObject* cajaDeTexto) {
    if (cajaDeTexto)
        QMetaObject::invokeMethod(cajaDeTexto, "selectAll", Qt::QueuedConnection);
}

void LibKtfaNucleo::Teclas(qint16& codigoTecla) {
    constexpr qint16 kEnter = 13;
    constexpr qint16 kTab = 9;
    if (codigoTecla == kEnter)
        codigoTecla = kTab;
}

void LibKtfaNucleo::Enter(qint16& codigoCaracter, QString& mascara) {
    const QChar c(static_cast<char16_t>(static_cast<quint16>(codigoCaracter)));
    if (c.unicode() < 32)
        return;
    QChar resultado = c;
    if (mascara == QLatin1String("9"))
        resultado = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ? c : QChar(0);
    else if (mascara == QLatin1String("!"))
        resultado = c.toUpper();
    else if (mascara == QStringLiteral("¡"))
        resultado = c.toLower();
    codigoCaracter = static_cast<qint16>(resultado.unicode());
}
