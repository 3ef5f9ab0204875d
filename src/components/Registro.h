#pragma once
// The ProgID registry behind CreaObjeto: a ProgID ("Nodex.BasesDD") names a factory. ProgIDs are
// compared without regard to letter case, as the automation runtime does.

#include "components/Componente.h"

#include <QString>
#include <functional>
#include <memory>

using FabricaDeComponente = std::function<std::unique_ptr<Componente>()>;

// Registers (or replaces) the factory of a ProgID. The desktop program replaces the console versions
// of the components that show windows.
void registrarComponente(const QString& progId, FabricaDeComponente fabrica);

// A new instance, or null when the ProgID is not registered; `error` then says why.
std::unique_ptr<Componente> crearComponente(const QString& progId, QString* error = nullptr);

// Registers the components that need no window: libKtfa, BasesDD, DeEquipo, Utilerias (console
// message boxes), DeArchivos, DelRegistro.
void registrarComponentesDelNucleo();
