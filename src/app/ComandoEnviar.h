#pragma once
// `catalogo-ftp enviar [--carpeta DIR] [--forzar]`: start-up without a window, then one send as the
// window's timer makes it (an unchanged catalogue stays home, one that lost most of its products is
// held), or, with --forzar, uploaded whatever it is. Its progress is printed as lines. For scheduled
// tasks and servers: it never waits for an answer, and its exit status says how the send ended.

#include "app/Salidas.h"
#include "export/clsDeProductos.h"

#include <QTextStream>

struct LineaDeComandos;

// `linea`: a command line whose command is "enviar".
int ComandoEnviar(const LineaDeComandos& linea);

// One send with the module already started, its progress on `salida`; the exit status of `enviar`.
int EnviarUnaVez(QTextStream& salida, clsDeProductos::Modo modo = clsDeProductos::Modo::programado);
