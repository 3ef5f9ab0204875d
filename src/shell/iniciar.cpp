#include "shell/iniciar.h"

#include "components/ComponentesDeVentana.h"
#include "components/Registro.h"
#include "export/ComandoEnviar.h"
#include "export/Demo.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"
#include "shell/InstanciaUnica.h"
#include "shell/frmInicial.h"

#include <QApplication>
#include <memory>

QString carpetaDada(const QStringList& argumentos) {
    const QString opcion = QStringLiteral("--carpeta");
    for (qsizetype i = 0; i < argumentos.size(); ++i) {
        if (argumentos[i] == opcion)
            return argumentos.value(i + 1);
        if (argumentos[i].startsWith(opcion + QLatin1Char('=')))
            return argumentos[i].mid(opcion.size() + 1);
    }
    return QString();
}

QWidget* iniciar(const QStringList& argumentos) {
    registrarComponentesDelNucleo();
    registrarComponentesDeVentana();

    auto ventana = std::make_unique<frmInicial>();
    modulo().frmInicial = ventana.get();
    if (arrancarNucleo(carpetaDelPrograma(carpetaDada(argumentos)), true) != Arranque::listo) {
        modulo().frmInicial = nullptr;
        return nullptr;
    }
    ventana->MostrarConfiguracion();
    ventana->Cargar(argumentos);
    ventana->MostrarAlCargar();
    return ventana.release();
}

int ejecutarEscritorio(const QStringList& argumentos) {
    // The window spends its life hidden: closing a message box must not end the program, only the
    // window's own unload does.
    QApplication::setQuitOnLastWindowClosed(false);
    const QString carpeta = carpetaDelPrograma(carpetaDada(argumentos));
    if (InstanciaUnica::avisarALaQueCorre(carpeta))
        return 0;
    std::unique_ptr<QWidget> ventana(iniciar(argumentos));
    auto* principal = qobject_cast<frmInicial*>(ventana.get());
    if (principal == nullptr)
        return 1;
    new InstanciaUnica(carpeta, *principal);
    QObject::connect(principal, &frmInicial::descargada, qApp, &QCoreApplication::quit);
    // However the event loop ends (the desktop session closing, a signal), the icon leaves the
    // notification area and the components are released.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, principal, &frmInicial::Descargar);
    return QApplication::exec();
}

int demoConVentana(const QStringList& argumentos) {
    const int estado = ComandoDemo(argumentos);
    QString carpeta;
    if (estado != salida::kEnviado || !leerSoloCarpeta(argumentos, QStringLiteral("demo"), carpeta))
        return estado;
    return ejecutarEscritorio(
        {QStringLiteral("--carpeta"), carpetaDelPrograma(carpeta), QStringLiteral("-ktfa")});
}

bool hayPantalla() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    const QByteArray plataforma = qgetenv("QT_QPA_PLATFORM");
    if (plataforma.startsWith("offscreen") || plataforma.startsWith("minimal"))
        return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#endif
}
