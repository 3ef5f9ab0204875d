#pragma once
// The pictures of the windows, compiled into the program. A static library's resources must be
// registered by hand before the first use.

#include <QIcon>

void iniciarRecursos();

// The program's icon, at every size it comes in: window, task bar and notification area.
QIcon IconoDelPrograma();
