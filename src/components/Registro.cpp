#include "components/Registro.h"

#include "components/BasesDD.h"
#include "components/Nucleo.h"

#include <QHash>
#include <exception>

namespace {

QHash<QString, FabricaDeComponente>& fabricas() {
    static QHash<QString, FabricaDeComponente> registradas;
    return registradas;
}

QString llave(const QString& progId) {
    return progId.toCaseFolded();
}

template <class T> void registrar(const QString& progId) {
    registrarComponente(progId, [] { return std::make_unique<T>(); });
}

} // namespace

void registrarComponente(const QString& progId, FabricaDeComponente fabrica) {
    fabricas().insert(llave(progId), std::move(fabrica));
}

std::unique_ptr<Componente> crearComponente(const QString& progId, QString* error) {
    const auto fabrica = fabricas().constFind(llave(progId));
    if (fabrica == fabricas().constEnd() || !*fabrica) {
        if (error)
            *error = QStringLiteral("No se puede crear el objeto: la clase no está registrada");
        return nullptr;
    }
    try {
        auto creado = (*fabrica)();
        if (!creado && error)
            *error = QStringLiteral("No se puede crear el objeto");
        return creado;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return nullptr;
    }
}

void registrarComponentesDelNucleo() {
    registrar<LibKtfaNucleo>(QStringLiteral("Nodex.libKtfa"));
    registrarBasesDD();
    registrar<DeEquipoNucleo>(QStringLiteral("Nodex.DeEquipo"));
    registrar<UtileriasNucleo>(QStringLiteral("Nodex.Utilerias"));
    registrar<DeArchivosNucleo>(QStringLiteral("Nodex.DeArchivos"));
    registrar<DelRegistroNucleo>(QStringLiteral("nodex.DelRegistro"));
}
