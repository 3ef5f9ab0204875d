#pragma once
// The desktop program's components: those that draw, registered over the console versions of the
// same ProgIDs, and the plain system message box as a window.

void registrarComponentesDeVentana();
