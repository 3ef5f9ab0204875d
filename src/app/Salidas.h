#pragma once
// The program's exit statuses, one table for every command: `enviar`, `demo` and the desktop program,
// `configurar`, and a command line that cannot be run. --help takes its numbers from here.
//
// A new status: its constant here, its words where --help lists the statuses of its commands
// (app/LineaDeComandos.cpp, numbered by a placeholder that takes this constant), and its row in the
// README's table.

namespace salida {
// Done: published or already on the server unchanged (`enviar`, `demo`), written (`configurar`), ended
// (the desktop program).
inline constexpr int kHecho = 0;
// Start-up could not end: no program folder, a missing component, no point of sale, or settings of
// either that cannot be read. For `configurar`: the settings file cannot be read or written, a value
// enciphered or a component created.
inline constexpr int kSinArranque = 1;
// A wrong command line, whatever the command; for `configurar` also settings that would destroy a file
// of the program.
inline constexpr int kMalUso = 2;
inline constexpr int kSinBaseDeDatos = 3;
// A file of the program folder could not be read or written (a list file, the export file, the send
// lock): nothing was uploaded.
inline constexpr int kArchivoIncompleto = 4;
// The server did not answer or refused the login, or its settings cannot be deciphered.
inline constexpr int kSinConexionFtp = 5;
inline constexpr int kSubidaFallida = 6;
inline constexpr int kOtroEnvio = 7; // another send of the same folder went on past the wait
// Held: the catalogue has fewer than half the products of the last publication; nothing was uploaded.
inline constexpr int kRetenido = 8;
} // namespace salida
