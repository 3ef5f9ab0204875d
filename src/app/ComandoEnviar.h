#pragma once
// `catalogo-ftp enviar [--carpeta DIR]`: start-up without a window, then one send exactly as "Enviar
// ahora" does, its progress printed as lines. For scheduled tasks and servers: it never waits for an
// answer, and its exit status says how the send ended.

#include <QTextStream>

struct LineaDeComandos;

namespace salida {
inline constexpr int kEnviado = 0;
// No program folder, a missing component, no point-of-sale, or settings of either that cannot be read.
inline constexpr int kSinArranque = 1;
inline constexpr int kMalUso = 2; // a wrong command line, whatever the command: main() answers it
inline constexpr int kSinBaseDeDatos = 3;
// A file of the program folder could not be read or written (a list file, the export file, the send
// lock): nothing was uploaded.
inline constexpr int kArchivoIncompleto = 4;
inline constexpr int kSinConexionFtp = 5; // server unreachable or login refused
inline constexpr int kSubidaFallida = 6;
inline constexpr int kOtroEnvio = 7; // another send of the same folder went on past the wait
} // namespace salida

// `linea`: a command line whose command is "enviar".
int ComandoEnviar(const LineaDeComandos& linea);

// One send with the module already started, its progress on `salida`; the exit status of `enviar`.
int EnviarUnaVez(QTextStream& salida);
