// "Enviar ahora" in the real window (offscreen unless QT_QPA_PLATFORM says otherwise) against
// `catalogo-ftp enviar`, on one shop: a catalogue of N products (100,000 by default) in MariaDB published
// to a local FTP server, in alternating runs, with one price changed before each so that every send has
// something new. The window's send is timed from the click to its end; `enviar` from its start, so its
// figure includes the start of a process. Prints both medians and their ratio.
//
//   build/bench/ventana_contra_enviar_bench [productos] [vueltas]

#include "app/Arranque.h"
#include "app/LineaDeComandos.h"
#include "app/iniciar.h"
#include "base_de_bench.h"
#include "components/Registro.h"
#include "ftp_servidor.h"
#include "shell/frmInicial.h"
#include "tienda_de_bench.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <memory>

namespace {

// Clicks "Enviar ahora" and waits for the send's end, looking every millisecond (a 10 ms wait would
// weigh on a send of a few tenths of a second). Negative when it did not end in ten minutes.
double enviarDesdeLaVentana(frmInicial& ventana) {
    QElapsedTimer reloj;
    reloj.start();
    ventana.findChild<QPushButton*>(QStringLiteral("cmdLeerAhora"))->click();
    while (ventana.EnviandoProductos()) {
        if (reloj.elapsed() > 600000)
            return -1;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::msleep(1);
    }
    return static_cast<double>(reloj.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const auto [productos, vueltas, programa, base] = leerCorrida(argc, argv);
    ServidorFtp ftp;
    if (!ftpListo(ftp))
        return 1;
    if (!prepararBase(base, productos))
        return 1;
    QTemporaryDir carpeta;
    QTemporaryDir usuario;
    // The window reads the key `configurar` wrote, as `enviar` does.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(usuario.path()));
    const QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    if (!prepararTienda(programa, carpeta.path(), base, ftp, entorno)) {
        std::fprintf(stderr, "configurar falló\n");
        borrarBase(base);
        return 1;
    }
    // The window, in this executable, reads the settings under this executable's name.
    QFile::copy(carpeta.filePath("catalogo-ftp.ini"), carpeta.filePath(nombreDelEjecutable() + ".ini"));
    registrarComponentesDelNucleo();
    std::unique_ptr<QWidget> ventana(
        iniciar(leerLineaDeComandos({QStringLiteral("--carpeta"), carpeta.path()}).value()));
    auto* principal = qobject_cast<frmInicial*>(ventana.get());
    if (principal == nullptr) {
        borrarBase(base);
        return 1;
    }
    principal->show();

    const QStringList enviar = {"enviar", "--carpeta", carpeta.path()};
    std::vector<double> enLaVentana, conEnviar;
    bool bien = true;
    for (int i = 0; i < vueltas && bien; ++i) {
        cambiarUnPrecio(base);
        const double segundos = enviarDesdeLaVentana(*principal);
        bien = segundos >= 0;
        enLaVentana.push_back(segundos);
        cambiarUnPrecio(base);
        const Medida medida = medir(programa, enviar, entorno);
        bien = bien && medida.bien;
        conEnviar.push_back(medida.segundos);
    }
    const QString ultimo = principal->findChild<QLabel*>(QStringLiteral("lblUltimoEnvio"))->text();
    ventana.reset();
    borrarBase(base);
    if (!bien) {
        std::fprintf(stderr, "un envío no terminó bien; la ventana dice: %s\n", qPrintable(ultimo));
        return 1;
    }
    std::printf("%d productos, mediana de %d vueltas alternadas; la ventana dice: %s\n", productos, vueltas,
                qUtf8Printable(ultimo));
    std::printf("Enviar ahora en la ventana   %.3f s\n", mediana(enLaVentana));
    std::printf("catalogo-ftp enviar          %.3f s\n", mediana(conEnviar));
    std::printf("razón ventana / enviar %.2f\n", mediana(enLaVentana) / mediana(conEnviar));
    return 0;
}
