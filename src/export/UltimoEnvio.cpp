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

const QString kFormaDeFecha = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// The message of a send's end, as the anotar… functions below write it.
const QRegularExpression& mensajeDeEnvio() {
    static const QRegularExpression mensaje(QStringLiteral(
        "^Envío: (\\d+) líneas de (\\d+) productos(?:, (\\d+) bytes, (?:subido a '.*?'(?:; (.*))?|"
        "sin cambios desde (\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d) en '.*')|; retenido: (.*)|"
        "; no se publicó: (.*))$"));
    return mensaje;
}

std::optional<UltimoEnvio> ultimoEn(const QByteArray& bytes) {
    using Fin = UltimoEnvio::Fin;
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
        envio.bytes = partes.captured(3).toLongLong();
        envio.cambios = partes.captured(4);
        envio.desde = QDateTime::fromString(partes.captured(5), kFormaDeFecha);
        if (partes.capturedLength(6) > 0) {
            envio.fin = Fin::retenido;
            envio.motivo = partes.captured(6);
        } else if (partes.capturedLength(7) > 0) {
            envio.motivo = partes.captured(7);
        } else {
            envio.fin = envio.desde.isValid() ? Fin::sinCambios : Fin::publicado;
        }
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

void anotarPublicacion(qint32 escritos, qint32 total, qint64 bytes, const QString& destino,
                       const QString& cambios) {
    spdlog::info("Envío: {} líneas de {} productos, {} bytes, subido a '{}'; {}", escritos, total, bytes,
                 destino.toStdString(), cambios.toStdString());
}

void anotarSinCambios(qint32 escritos, qint32 total, qint64 bytes, const QString& destino,
                      const QDateTime& desde) {
    spdlog::info("Envío: {} líneas de {} productos, {} bytes, sin cambios desde {} en '{}'", escritos, total,
                 bytes, desde.toLocalTime().toString(kFormaDeFecha).toStdString(), destino.toStdString());
}

void anotarRetencion(qint32 escritos, qint32 total, qint32 publicados) {
    spdlog::warn("Envío: {} líneas de {} productos; retenido: {}", escritos, total,
                 textoDeRetencion(escritos, publicados).toStdString());
}

QString textoDeRetencion(qint32 productos, qint32 publicados) {
    return QStringLiteral("%1 %2 frente a los %3 de la última publicación")
        .arg(productos)
        .arg(productos == 1 ? QStringLiteral("producto") : QStringLiteral("productos"))
        .arg(publicados);
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
    using Fin = UltimoEnvio::Fin;
    if (!envio)
        return QStringLiteral("Último envío: ninguno");
    const FormatoRegional formato;
    const auto fechaYHora = [&formato](const QDateTime& momento) {
        return formato.fecha(momento.date()) + QLatin1Char(' ') + formato.hora(momento.time());
    };
    const QString cuando = QStringLiteral("Último envío: ") + fechaYHora(envio->cuando);
    const QString productos = QStringLiteral("%1 productos, %2 bytes")
                                  .arg(formato.conMiles(envio->escritos), formato.conMiles(envio->bytes));
    switch (envio->fin) {
    case Fin::publicado:
        return cuando + QStringLiteral(", publicado: ") + productos +
               (envio->cambios.isEmpty() ? QString() : QStringLiteral("; ") + envio->cambios);
    case Fin::sinCambios:
        return cuando + QStringLiteral(", sin cambios desde %1: ").arg(fechaYHora(envio->desde)) + productos;
    case Fin::retenido:
        return cuando + QStringLiteral(", retenido: %1; no se publicó").arg(envio->motivo);
    case Fin::fallido:
        break;
    }
    return cuando + QStringLiteral(", no se publicó: ") + envio->motivo;
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
