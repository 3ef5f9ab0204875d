#pragma once
// Puts a file on the server so that its name always holds a whole file: the old one until the new one
// has arrived complete, then the new one. Servers that refuse to rename get the file the plain way;
// silence or a dropped connection is a failure that leaves the published file alone.

#include "ftp/clsFTP.h"

#include <QString>

// Uploads `local` to `remoto` on an open session. False when the server does not end up holding the
// whole new file under `remoto`; `error` then says why, in the server's words where it gave any.
bool publicar(clsFTP& ftp, const QString& local, const QString& remoto, QString* error);

// Whether the server still holds a file of `bytes` bytes under `remoto`, by its SIZE: a file missing or
// of another size is `distinto`, as is a failure, which an upload then meets and reports; `noSabe` when
// the server has no SIZE.
enum class EnElServidor { igual, distinto, noSabe };
EnElServidor comparar(clsFTP& ftp, const QString& remoto, qint64 bytes);
