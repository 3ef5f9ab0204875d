// The command line: which command runs with which folder, and what the program answers without
// running any (usage, version, a mistyped command).

#include "app/ComandoEnviar.h"
#include "app/LineaDeComandos.h"
#include "tienda_de_prueba.h"

namespace {

using Orden = LineaDeComandos::Orden;

TEST(LineaDeComandos, DiceLaOrdenLaCarpetaYElInterruptor) {
    struct Linea {
        QStringList palabras;
        Orden orden;
        QString carpeta;
        bool ktfa;
        QStringList opciones;
    };
    const Linea lineas[] = {
        {{}, Orden::Escritorio, "", false, {}},
        {{"--carpeta", "/t", "-ktfa"}, Orden::Escritorio, "/t", true, {}},
        // "-ktfa" anywhere, whatever else a shortcut carries; other options alone are left be.
        {{"/min", "x-ktfa"}, Orden::Escritorio, "", true, {}},
        {{"-KTFA"}, Orden::Escritorio, "", false, {}},
        {{"envair"}, Orden::MalUso, "", false, {}},
        {{"enviar", "--carpeta=/t"}, Orden::Enviar, "/t", false, {}},
        {{"enviar", "/t"}, Orden::MalUso, "", false, {}},
        {{"demo", "--carpeta"}, Orden::MalUso, "", false, {}},
        {{"configurar", "--url", "ftp.x", "--carpeta", "/t", "--mostrar"},
         Orden::Configurar,
         "/t",
         false,
         {"--url", "ftp.x", "--mostrar"}},
        {{"enviar", "--help"}, Orden::Ayuda, "", false, {}},
    };
    for (const Linea& caso : lineas) {
        SCOPED_TRACE(caso.palabras.join(' ').toStdString());
        const LineaDeComandos linea = leerLineaDeComandos(caso.palabras);
        EXPECT_EQ(linea.orden, caso.orden) << linea.error.toStdString();
        EXPECT_EQ(linea.error.isEmpty(), caso.orden != Orden::MalUso);
        EXPECT_EQ(linea.carpeta, caso.carpeta);
        EXPECT_EQ(linea.ktfa, caso.ktfa);
        EXPECT_EQ(linea.opciones, caso.opciones);
    }
}

// The program itself answers at once, with no window and nothing asked; the usage names every command
// with its options and exit statuses.
TEST(LineaDeComandos, ElProgramaContestaSinAbrirVentana) {
    struct Caso {
        QStringList palabras;
        int estado;
        bool enErrores; // said on standard error, the other stream left empty; else the other way round
        QStringList partes;
    };
    const QStringList uso = {"uso:\n",
                             "enviar [--carpeta DIR]",
                             "configurar [--carpeta DIR] [--url URL]",
                             "[--mostrar]",
                             "demo [--carpeta DIR]",
                             "[-ktfa]",
                             "6 la subida falló",
                             "--version"};
    const Caso casos[] = {
        {{"--help"}, 0, false, uso},
        {{"--version"}, 0, false, {"catalogo-ftp 1.0.0\n"}},
        {{"envair"}, salida::kMalUso, true, QStringList{"catalogo-ftp: orden desconocida: envair\n"} + uso},
        {{"enviar", "--carpeta", "/no/existe"},
         salida::kSinArranque,
         true,
         {"catalogo-ftp enviar: no existe la carpeta /no/existe\n"}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.palabras.join(' ').toStdString());
        Ejecucion e(caso.palabras);
        EXPECT_EQ(e.estado(), caso.estado);
        EXPECT_EQ(caso.enErrores ? e.salida : e.errores, QString());
        for (const QString& parte : caso.partes)
            EXPECT_TRUE((caso.enErrores ? e.errores : e.salida).contains(parte)) << parte.toStdString();
    }
}

} // namespace
