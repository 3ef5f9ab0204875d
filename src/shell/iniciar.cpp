#include "shell/iniciar.h"

#include "components/ComponentesDeVentana.h"
#include "components/Registro.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"
#include "shell/frmInicial.h"

#include <memory>

namespace {
// The folder after "--carpeta" (or in "--carpeta=DIR"); empty for the executable's own.
QString carpetaDada(const QStringList& argumentos) {
    const QString opcion = QStringLiteral("--carpeta");
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        if (argumentos[i] == opcion)
            return argumentos.value(i + 1);
        if (argumentos[i].startsWith(opcion + QLatin1Char('=')))
            return argumentos[i].mid(opcion.size() + 1);
    }
    return QString();
}
} // namespace

QWidget* iniciar(const QStringList& argumentos) {
    registrarComponentesDelNucleo();
    registrarComponentesDeVentana();

    auto ventana = std::make_unique<frmInicial>();
    modulo().frmInicial = ventana.get();
    if (arrancarNucleo(carpetaDelPrograma(carpetaDada(argumentos)), true) != Arranque::listo) {
        modulo().frmInicial = nullptr;
        return nullptr;
    }
    ventana->MostrarConfiguracion();
    ventana->Cargar(argumentos);
    ventana->MostrarAlCargar();
    return ventana.release();
}
