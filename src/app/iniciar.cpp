#include "app/iniciar.h"

#include "app/Arranque.h"
#include "app/Demo.h"
#include "app/LineaDeComandos.h"
#include "app/Ordenes.h"
#include "app/Salidas.h"
#include "components/CajaDeMensaje.h"
#include "components/ComponentesDeVentana.h"
#include "components/Registro.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"
#include "resources/Recursos.h"
#include "shell/InstanciaUnica.h"
#include "shell/SenalesDeFin.h"
#include "shell/frmInicial.h"

#include <QApplication>
#include <memory>

QWidget* iniciar(const LineaDeComandos& linea) {
    instalarTraduccionDeQt();
    registrarComponentesDelNucleo();
    registrarComponentesDeVentana();
    // The plain system message box as a window too.
    ponerCajaDelSistema([](const QString& texto, qint32 estilo, const QString& titulo) {
        return MostrarCajaDeMensaje(QApplication::activeWindow(), texto, estilo, titulo);
    });

    auto ventana = std::make_unique<frmInicial>();
    modulo().frmInicial = ventana.get();
    if (arrancarNucleo(carpetaDelPrograma(linea.carpeta), true) != Arranque::listo) {
        modulo().frmInicial = nullptr;
        return nullptr;
    }
    ventana->MostrarConfiguracion();
    ventana->Cargar(linea.ktfa);
    ventana->MostrarAlCargar();
    return ventana.release();
}

int ejecutarEscritorio(const LineaDeComandos& linea) {
    // The window spends its life hidden: closing a message box must not end the program, only the
    // window's own unload does.
    QApplication::setQuitOnLastWindowClosed(false);
    InstanciaUnica instancia(carpetaDelPrograma(linea.carpeta));
    if (!instancia.corre())
        return salida::kHecho;
    std::unique_ptr<QWidget> ventana(iniciar(linea));
    auto* principal = qobject_cast<frmInicial*>(ventana.get());
    if (principal == nullptr)
        return salida::kSinArranque;
    instancia.atender(*principal);
    QObject::connect(principal, &frmInicial::descargada, qApp, &QCoreApplication::quit);
    // A signal to end (the system shutting down, Ctrl+C) lets a send under way stop cleanly first.
    atenderSenalesDeFin(principal, [principal] { principal->Terminar(); });
    // However the event loop ends (the desktop session closing), the send stops, the icon leaves the
    // notification area and the components are released.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, principal, &frmInicial::Descargar);
    return QApplication::exec();
}

int demoConVentana(const LineaDeComandos& linea) {
    const int estado = ComandoDemo(linea);
    if (estado != salida::kHecho)
        return estado;
    // The sample shop's window, shown.
    LineaDeComandos escritorio;
    escritorio.carpeta = carpetaDelPrograma(linea.carpeta);
    escritorio.ktfa = true;
    return ejecutarEscritorio(escritorio);
}

int correrEscritorio(int argc, char** argv) {
    using Orden = LineaDeComandos::Orden;
    QString error;
    const std::optional<LineaDeComandos> linea = leerLineaDeComandos(palabrasDeLaLinea(argc, argv), &error);
    if (!linea)
        return malUso(error);
    if (!conVentana(*linea)) {
        QCoreApplication app(argc, argv);
        return ejecutarSinVentana(*linea);
    }
    QApplication app(argc, argv);
    if (linea->orden == Orden::Escritorio)
        return ejecutarEscritorio(*linea);
    registrarComponentesDelNucleo();
    // The send makes the shop's folder current, from where a relative --carpeta would name another.
    LineaDeComandos demo = *linea;
    demo.carpeta = carpetaDelPrograma(linea->carpeta);
    return demoConVentana(demo);
}
