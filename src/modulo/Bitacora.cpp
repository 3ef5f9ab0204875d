#include "modulo/Bitacora.h"

#include <QFile>
#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

namespace {
constexpr std::size_t kTamanoMaximo = 1024 * 1024;
constexpr std::size_t kArchivosAnteriores = 2; // plus the current one: three files
} // namespace

void iniciarBitacora(const QString& carpeta) {
    const QString ruta = carpeta + QStringLiteral("/catalogo-ftp.log");
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
    bitacora->set_pattern("%Y-%m-%d %H:%M:%S.%e %l [%P] %v");
    // Few lines, and the last ones matter most when the program is killed.
    bitacora->flush_on(spdlog::level::info);
    spdlog::set_default_logger(bitacora);
    if (!fallo.isEmpty())
        spdlog::warn("No se puede escribir la bitácora {}: {}", ruta.toStdString(), fallo.toStdString());
}
