#include "modulo/Bitacora.h"

#include "modulo/ArchivosDelPrograma.h"
#include <QFile>
#include <QRegularExpression>
#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

namespace {
constexpr std::size_t kTamanoMaximo = 1024 * 1024;
constexpr std::size_t kArchivosAnteriores = 2; // plus the current one: three files
// "2026-01-31 10:15:00.123 info [4321] message": read back by leerLineaDeBitacora.
constexpr const char* kFormaDeLinea = "%Y-%m-%d %H:%M:%S.%e %l [%P] %v";
} // namespace

void iniciarBitacora(const QString& carpeta) {
    const QString ruta = archivos::en(carpeta, archivos::kBitacora);
    std::shared_ptr<spdlog::logger> bitacora;
    QString fallo;
    try {
        bitacora = std::make_shared<spdlog::logger>(
            "catalogo-ftp", std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
                                QFile::encodeName(ruta).toStdString(), kTamanoMaximo, kArchivosAnteriores));
    } catch (const spdlog::spdlog_ex& e) {
        // Standard output carries the progress lines of `enviar`; the log must not mix with them.
        bitacora = std::make_shared<spdlog::logger>("catalogo-ftp",
                                                    std::make_shared<spdlog::sinks::stderr_sink_mt>());
        fallo = QString::fromLocal8Bit(e.what());
    }
    bitacora->set_pattern(kFormaDeLinea);
    // Few lines, and the last ones matter most when the program is killed.
    bitacora->flush_on(spdlog::level::info);
    spdlog::set_default_logger(bitacora);
    if (!fallo.isEmpty())
        spdlog::warn("No se puede escribir la bitácora {}: {}", ruta.toStdString(), fallo.toStdString());
}

std::optional<LineaDeBitacora> leerLineaDeBitacora(const QString& linea) {
    static const QRegularExpression forma(
        QStringLiteral("^(\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d)\\.\\d+ \\w+ \\[\\d+\\] (.*)$"));
    const QRegularExpressionMatch partes = forma.match(linea);
    if (!partes.hasMatch())
        return std::nullopt;
    return LineaDeBitacora{QDateTime::fromString(partes.captured(1), QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                           partes.captured(2)};
}
