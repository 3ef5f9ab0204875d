#pragma once
// The start-up steps that need no window, shared by the desktop program, `enviar` and `configurar`.

#include <QString>

// The program folder: the one given with --carpeta, else the executable's; absolute, no trailing
// separator.
QString carpetaDelPrograma(const QString& carpetaDada = QString());

// The executable's file name without ".exe" (or the console companion's ".com"): a copy under another
// name keeps its own settings file.
QString nombreDelEjecutable();

// Makes the folder current, starts the log there and sets the module's paths and version. False when
// the folder does not exist.
bool prepararCarpeta(const QString& carpeta);

// Creates the shared components in start-up order, stopping at the first that cannot be created
// (CreaObjeto has told the user). The desktop program asks for Nodex.DeControles too.
bool crearComponentes(bool conControles);

enum class Arranque {
    listo,
    carpetaInexistente,
    faltaComponente,
    sinPuntoDeVenta, // ConexionQ7K did not find the point of sale, or cannot read its settings or ours
};

// Everything before the window: prepararCarpeta, crearComponentes, ConexionQ7K (database name taken
// from the settings) and LeeConfiguracion.
Arranque arrancarNucleo(const QString& carpeta, bool conControles);
