#pragma once
// `catalogo-ftp enviar [--carpeta DIR]`: start-up without a window, then one send exactly as "Enviar
// ahora" does, its progress printed as lines. For scheduled tasks and servers: it never waits for an
// answer, and its exit status says how the send ended.

#include "app/Salidas.h"

#include <QTextStream>

struct LineaDeComandos;

// `linea`: a command line whose command is "enviar".
int ComandoEnviar(const LineaDeComandos& linea);

// One send with the module already started, its progress on `salida`; the exit status of `enviar`.
int EnviarUnaVez(QTextStream& salida);
