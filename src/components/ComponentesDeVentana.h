#pragma once
// The desktop program's components: those that draw, registered over the console versions of the
// same ProgIDs.

void registrarComponentesDeVentana();
