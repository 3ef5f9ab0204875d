#include "components/CajaDeConsola.h"
#include "components/Cifrado.h"
#include "components/Nucleo.h"

#include <spdlog/spdlog.h>

QString UtileriasNucleo::Encripta(const QString& texto) {
    cError.clear();
    const auto cifrado = cifrado::cifrar(texto, &cError);
    if (!cifrado)
        spdlog::error("No se puede cifrar: {}", cError.toStdString());
    return cifrado.value_or(QString());
}

QString UtileriasNucleo::DesEncripta(const QString& texto) {
    cError.clear();
    if (texto.isEmpty())
        return QString();
    const auto plano = cifrado::descifrar(texto, &cError);
    if (!plano)
        spdlog::warn("Un valor cifrado no se puede descifrar: {}", cError.toStdString());
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
