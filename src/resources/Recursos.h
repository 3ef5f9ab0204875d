#pragma once
// The pictures of the windows and Qt's own Spanish, compiled into the program. A static library's
// resources must be registered by hand before the first use.

#include <QIcon>

void iniciarRecursos();

// The program's icon, at every size it comes in: window, task bar and notification area.
QIcon IconoDelPrograma();

// Qt's standard buttons and dialogs in Spanish ("Aceptar", "Cancelar", "Sí", "No") whatever the system's
// language: the rest of the program speaks Spanish. Once per application; later calls do nothing.
void instalarTraduccionDeQt();
