#pragma once
// `catalogo-ftp configurar`: writes the settings as the configuration tab's "Grabar" does, for
// technicians who set up many shops, and shows them deciphered. Exit statuses: app/Salidas.h (2 also for
// an interval that is not 0 to 9999, a folder that does not exist, or nothing to do).

struct LineaDeComandos;

// `linea`: a command line whose command is "configurar"; its options are in `linea.opciones`.
int ComandoConfigurar(const LineaDeComandos& linea);
