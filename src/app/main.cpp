#include "app/Arranque.h"
#include "app/Ordenes.h"
#include "app/iniciar.h"
#include "components/Registro.h"

#include <QApplication>
#include <QCoreApplication>

// The desktop program. It answers every command too, so that a scheduled task or a script that calls
// it directly works as the console companion does.
int main(int argc, char** argv) {
    using Orden = LineaDeComandos::Orden;
    QString error;
    const std::optional<LineaDeComandos> linea = leerLineaDeComandos(palabrasDeLaLinea(argc, argv), &error);
    if (!linea)
        return malUso(error);
    if (linea->orden == Orden::Escritorio) {
        QApplication app(argc, argv);
        return ejecutarEscritorio(*linea);
    }
    if (linea->orden == Orden::Demo && hayPantalla()) {
        QApplication app(argc, argv);
        registrarComponentesDelNucleo();
        // The send makes the shop's folder current, from where a relative --carpeta would name another.
        LineaDeComandos demo = *linea;
        demo.carpeta = carpetaDelPrograma(linea->carpeta);
        return demoConVentana(demo);
    }
    QCoreApplication app(argc, argv);
    return ejecutarSinVentana(*linea);
}
