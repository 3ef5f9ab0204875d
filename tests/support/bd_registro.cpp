#include "bd_registro.h"

#include <spdlog/sinks/ostream_sink.h>
#include <spdlog/spdlog.h>
#include <sstream>

struct RegistroCapturado::Datos {
    std::shared_ptr<spdlog::logger> anterior = spdlog::default_logger();
    std::ostringstream salida;
};

RegistroCapturado::RegistroCapturado() : d(std::make_unique<Datos>()) {
    auto destino = std::make_shared<spdlog::sinks::ostream_sink_mt>(d->salida);
    spdlog::set_default_logger(std::make_shared<spdlog::logger>("prueba", std::move(destino)));
}

RegistroCapturado::~RegistroCapturado() {
    spdlog::set_default_logger(d->anterior);
}

std::string RegistroCapturado::texto() const {
    spdlog::default_logger()->flush();
    return d->salida.str();
}
