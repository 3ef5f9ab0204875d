#pragma once
// Puts a file on the server so that its name always holds a whole file: the old one until the new one
// has arrived complete, then the new one. Servers that cannot rename get the file the plain way.

#include "ftp/clsFTP.h"

#include <QString>

// The name a file travels under before it takes its own: in the same folder, so that the rename is a
// rename and not a copy, hidden from listings, and the same each time, so that a send cut short leaves
// one leftover at most, which the next send replaces.
QString nombreTemporal(const QString& remoto);

// Uploads `local` to `remoto` on an open session. False when the server does not end up holding the
// whole new file under `remoto`; `motivo` then says why, in the server's words where it gave any.
bool publicar(clsFTP& ftp, const QString& local, const QString& remoto, QString& motivo);
