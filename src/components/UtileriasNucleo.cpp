#include "components/CajaDeConsola.h"
#include "components/Cifrado.h"
#include "components/Nucleo.h"

#include <spdlog/spdlog.h>

QString UtileriasNucleo::Encripta(const QString& texto) {
    QString motivo;
    const auto cifrado = cifrado::cifrar(texto, &motivo);
    if (!cifrado)
        spdlog::error("No se puede cifrar: {}", motivo.toStdString());
    return cifrado.value_or(QString());
}

QString UtileriasNucleo::DesEncripta(const QString& texto) {
    if (texto.isEmpty())
        return QString();
    QString motivo;
    const auto plano = cifrado::descifrar(texto, &motivo);
    if (!plano)
        spdlog::warn("Un valor cifrado no se puede descifrar: {}", motivo.toStdString());
    return plano.value_or(QString());
}

quint8 UtileriasNucleo::MsgBoxSkn(QString& mensaje, qint32& estilo, QString& titulo, quint8&) {
    return cajaDeConsola(mensaje, estilo, titulo);
}

QString UtileriasNucleo::DameTexto(qint16 numero, ado::Connection& conexion) {
    ado::Recordset rs;
    if (!rs.abrir(conexion, QStringLiteral("SELECT Texto FROM textos WHERE Numero = %1").arg(numero)) ||
        rs.Eof())
        return QString();
    return rs.Fields(QStringLiteral("Texto")).Value().toString();
}
