#include "export/UltimoEnvio.h"

#include "export/FormatoRegional.h"
#include "modulo/ArchivosDelPrograma.h"
#include "modulo/Bitacora.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <spdlog/spdlog.h>

namespace {

// The message of a send's end, as anotarPublicacion and anotarFallo below write it.
const QRegularExpression& mensajeDeEnvio() {
    static const QRegularExpression mensaje(QStringLiteral(
        "^Envío: (\\d+) líneas de (\\d+) productos(?:, (\\d+) bytes, subido a '.*'|; no se publicó: (.*))$"));
    return mensaje;
}

std::optional<UltimoEnvio> ultimoEn(const QByteArray& bytes) {
    const QStringList lineas = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    for (auto linea = lineas.crbegin(); linea != lineas.crend(); ++linea) {
        if (!linea->contains(QStringLiteral("Envío: ")))
            continue;
        const std::optional<LineaDeBitacora> leida = leerLineaDeBitacora(linea->trimmed());
        const QRegularExpressionMatch partes =
            leida ? mensajeDeEnvio().match(leida->mensaje) : QRegularExpressionMatch();
        if (!partes.hasMatch())
            continue;
        UltimoEnvio envio;
        envio.cuando = leida->cuando;
        envio.escritos = partes.captured(1).toInt();
        envio.total = partes.captured(2).toInt();
        envio.publicado = partes.capturedLength(3) > 0;
        envio.bytes = partes.captured(3).toLongLong();
        envio.motivo = partes.captured(4);
        return envio;
    }
    return std::nullopt;
}

std::optional<UltimoEnvio> ultimoDe(const QString& archivo) {
    QFile bitacora(archivo);
    if (!bitacora.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Its end first: the window reads this at start-up, and the log may hold a megabyte.
    constexpr qint64 kFinal = 64 * 1024;
    if (bitacora.size() > kFinal && bitacora.seek(bitacora.size() - kFinal))
        if (auto envio = ultimoEn(bitacora.readAll()))
            return envio;
    bitacora.seek(0);
    return ultimoEn(bitacora.readAll());
}

} // namespace

void anotarPublicacion(qint32 escritos, qint32 total, qint64 bytes, const QString& destino) {
    spdlog::info("Envío: {} líneas de {} productos, {} bytes, subido a '{}'", escritos, total, bytes,
                 destino.toStdString());
}

void anotarFallo(qint32 escritos, qint32 total, QString motivo) {
    // One line, so that it can be read back: a server's reply may have several.
    motivo.replace(QRegularExpression(QStringLiteral("\\s*[\\r\\n]+\\s*")), QStringLiteral(" "));
    spdlog::error("Envío: {} líneas de {} productos; no se publicó: {}", escritos, total,
                  motivo.toStdString());
}

std::optional<UltimoEnvio> leerUltimoEnvio(const QString& carpeta) {
    // After a rotation the current file may not have a send yet.
    if (auto envio = ultimoDe(archivos::en(carpeta, archivos::kBitacora)))
        return envio;
    return ultimoDe(archivos::en(carpeta, archivos::kBitacoraAnterior));
}

QString textoDeEnvio(const std::optional<UltimoEnvio>& envio) {
    if (!envio)
        return QStringLiteral("Último envío: ninguno");
    const FormatoRegional formato;
    const QString cuando =
        formato.fecha(envio->cuando.date()) + QLatin1Char(' ') + formato.hora(envio->cuando.time());
    if (!envio->publicado)
        return QStringLiteral("Último envío: %1, no se publicó: %2").arg(cuando, envio->motivo);
    return QStringLiteral("Último envío: %1, publicado: %2 productos, %3 bytes")
        .arg(cuando, formato.conMiles(envio->escritos), formato.conMiles(envio->bytes));
}

VigilanteDeBitacora::VigilanteDeBitacora(const QString& carpeta, QObject* parent)
    : QObject(parent), archivo(archivos::en(carpeta, archivos::kBitacora)), visto(huella()) {
    connect(&reloj, &QTimer::timeout, this, &VigilanteDeBitacora::mirar);
    reloj.setTimerType(Qt::VeryCoarseTimer);
    reloj.start(1000);
}

VigilanteDeBitacora::Huella VigilanteDeBitacora::huella() const {
    const QFileInfo info(archivo);
    return {info.exists() ? info.size() : -1, info.lastModified()};
}

void VigilanteDeBitacora::mirar() {
    const Huella ahora = huella();
    if (ahora == visto)
        return;
    visto = ahora;
    emit cambio();
}
