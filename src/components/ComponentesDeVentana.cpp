#include "components/ComponentesDeVentana.h"

#include "components/DeAyudaQ7DeVentana.h"
#include "components/DeControlesDeVentana.h"
#include "components/EfectosDeVentana.h"
#include "components/Registro.h"
#include "components/UtileriasDeVentana.h"
#include "components/WScriptShell.h"

void registrarComponentesDeVentana() {
    registrarComponente(QStringLiteral("Nodex.Utilerias"),
                        [] { return std::make_unique<UtileriasDeVentana>(); });
    registrarComponente(QStringLiteral("Nodex.DeControles"),
                        [] { return std::make_unique<DeControlesDeVentana>(); });
    registrarComponente(QStringLiteral("nodex.Efectos"), [] { return std::make_unique<EfectosDeVentana>(); });
    registrarBusquedaDeProductos();
    registrarShellDeScripts();
}
