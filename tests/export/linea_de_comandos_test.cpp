// The command line: which command runs with which folder, and what the program answers without
// running any (usage, version, a mistyped command).

#include "app/LineaDeComandos.h"
#include "app/Salidas.h"
#include "tienda_de_prueba.h"

namespace {

using Orden = LineaDeComandos::Orden;

TEST(LineaDeComandos, DiceLaOrdenLaCarpetaYElInterruptor) {
    struct Linea {
        QStringList palabras;
        std::optional<Orden> orden; // none: a wrong line
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
        {{"envair"}, std::nullopt, "", false, {}},
        {{"enviar", "--carpeta=/t"}, Orden::Enviar, "/t", false, {}},
        {{"enviar", "/t"}, std::nullopt, "", false, {}},
        {{"demo", "--carpeta"}, std::nullopt, "", false, {}},
        {{"configurar", "--url", "ftp.x", "--carpeta", "/t", "--mostrar"},
         Orden::Configurar,
         "/t",
         false,
         {"--url", "ftp.x", "--mostrar"}},
        {{"enviar", "--help"}, Orden::Ayuda, "", false, {}},
    };
    for (const Linea& caso : lineas) {
        SCOPED_TRACE(caso.palabras.join(' ').toStdString());
        QString error;
        const std::optional<LineaDeComandos> linea = leerLineaDeComandos(caso.palabras, &error);
        EXPECT_EQ(error.isEmpty(), caso.orden.has_value()) << error.toStdString();
        if (!linea || !caso.orden) {
            EXPECT_EQ(linea.has_value(), caso.orden.has_value());
            continue;
        }
        EXPECT_EQ(linea->orden, *caso.orden);
        EXPECT_EQ(linea->carpeta, caso.carpeta);
        EXPECT_EQ(linea->ktfa, caso.ktfa);
        EXPECT_EQ(linea->opciones, caso.opciones);
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
    const QStringList uso = QString("uso:\n|enviar [--carpeta DIR]|configurar [--carpeta DIR] [--url URL]|"
                                    "[--mostrar]|demo [--carpeta DIR]|[-ktfa]|6 la subida falló|--version")
                                .split('|');
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
