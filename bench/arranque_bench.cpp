// How long the desktop program takes from launch to its icon in the notification area, and how much
// processor it uses while it waits between ticks.
//
// The benchmark is the notification area itself: it owns the X11 system tray selection, so the time
// measured ends when the program asks it to dock its icon (the XEmbed tray protocol's
// SYSTEM_TRAY_REQUEST_DOCK), which is the moment a user would see the icon appear. Run it on a
// display without another tray, e.g.:
//
//   xvfb-run -a build/bench/arranque_bench build/catalogo-ftp
//
// It prepares a program folder of its own (settings with a 5-minute interval unless told otherwise, a
// point-of-sale folder)
// and a configuration folder, so nothing of the user's is touched.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr quint32 SYSTEM_TRAY_REQUEST_DOCK = 0;

struct Bandeja {
    xcb_connection_t* conexion = nullptr;
    xcb_window_t ventana = 0;
    xcb_atom_t opcode = 0;

    ~Bandeja() {
        if (conexion)
            xcb_disconnect(conexion);
    }

    xcb_atom_t atomo(const char* nombre) const {
        const auto cookie = xcb_intern_atom(conexion, 0, quint16(strlen(nombre)), nombre);
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> respuesta(
            xcb_intern_atom_reply(conexion, cookie, nullptr), &free);
        return respuesta ? respuesta->atom : 0;
    }

    // Takes the tray selection of the default screen and tells the clients, as a tray does.
    bool abrir() {
        int numeroDePantalla = 0;
        conexion = xcb_connect(nullptr, &numeroDePantalla);
        if (xcb_connection_has_error(conexion))
            return false;
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(conexion));
        for (int i = 0; i < numeroDePantalla; ++i)
            xcb_screen_next(&it);
        xcb_screen_t* pantalla = it.data;

        ventana = xcb_generate_id(conexion);
        const quint32 eventos = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(conexion, XCB_COPY_FROM_PARENT, ventana, pantalla->root, 0, 0, 200, 32, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, pantalla->root_visual, XCB_CW_EVENT_MASK, &eventos);
        const QByteArray seleccion = "_NET_SYSTEM_TRAY_S" + QByteArray::number(numeroDePantalla);
        const xcb_atom_t atomoSeleccion = atomo(seleccion.constData());
        opcode = atomo("_NET_SYSTEM_TRAY_OPCODE");
        xcb_set_selection_owner(conexion, ventana, atomoSeleccion, XCB_CURRENT_TIME);

        xcb_client_message_event_t aviso{};
        aviso.response_type = XCB_CLIENT_MESSAGE;
        aviso.format = 32;
        aviso.window = pantalla->root;
        aviso.type = atomo("MANAGER");
        aviso.data.data32[0] = XCB_CURRENT_TIME;
        aviso.data.data32[1] = atomoSeleccion;
        aviso.data.data32[2] = ventana;
        xcb_send_event(conexion, 0, pantalla->root, XCB_EVENT_MASK_STRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&aviso));
        xcb_flush(conexion);

        const auto cookie = xcb_get_selection_owner(conexion, atomoSeleccion);
        std::unique_ptr<xcb_get_selection_owner_reply_t, decltype(&free)> dueno(
            xcb_get_selection_owner_reply(conexion, cookie, nullptr), &free);
        return dueno && dueno->owner == ventana;
    }

    // Waits for a dock request; the icon's window, or 0 after the time-out.
    xcb_window_t esperarIcono(int milisegundos) {
        QElapsedTimer reloj;
        reloj.start();
        pollfd fd{xcb_get_file_descriptor(conexion), POLLIN, 0};
        while (reloj.elapsed() < milisegundos) {
            while (xcb_generic_event_t* evento = xcb_poll_for_event(conexion)) {
                std::unique_ptr<xcb_generic_event_t, decltype(&free)> liberar(evento, &free);
                if ((evento->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
                    continue;
                const auto* mensaje = reinterpret_cast<const xcb_client_message_event_t*>(evento);
                if (mensaje->type == opcode && mensaje->data.data32[1] == SYSTEM_TRAY_REQUEST_DOCK)
                    return mensaje->data.data32[2];
            }
            poll(&fd, 1, int(qMax<qint64>(1, milisegundos - reloj.elapsed())));
        }
        return 0;
    }
};

bool escribir(const QString& ruta, const QByteArray& contenido) {
    QFile archivo(ruta);
    return archivo.open(QIODevice::WriteOnly) && archivo.write(contenido) == contenido.size();
}

// Processor time of a process so far, all its threads, in milliseconds (the scheduler's own count,
// in nanoseconds, finer than the clock ticks of /proc/<pid>/stat).
double cpuDe(qint64 pid) {
    double nanosegundos = 0;
    const QDir hilos(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& hilo : hilos.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(hilos.filePath(hilo + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            nanosegundos += schedstat.readAll().split(' ').value(0).toDouble();
    }
    return nanosegundos / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream salida(stdout);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        salida
            << "uso: arranque_bench <catalogo-ftp> [arranques] [segundos en reposo] [intervalo en minutos]\n";
        return 2;
    }
    const QString programa = args.at(1);
    const int arranques = args.value(2, QStringLiteral("10")).toInt();
    const int reposo = args.value(3, QStringLiteral("10")).toInt();
    // Below 1 the timer stays off: what is left is the program's waiting alone.
    const QByteArray intervalo = args.value(4, QStringLiteral("5")).toUtf8();

    Bandeja bandeja;
    if (!bandeja.abrir()) {
        salida << "no se pudo ocupar el área de notificación (¿hay DISPLAY, y sin otra bandeja?)\n";
        return 2;
    }

    QTemporaryDir carpeta;
    QTemporaryDir configuracion;
    const QString puntoDeVenta = carpeta.filePath(QStringLiteral("vendalia"));
    QDir().mkpath(puntoDeVenta);
    if (!escribir(puntoDeVenta + QStringLiteral("/Q7K.ini"), "[Q7K]\r\nservidor=127.0.0.1\r\n") ||
        !escribir(carpeta.filePath(QStringLiteral("catalogo-ftp.ini")),
                  "[Configuración]\r\nRuta de Vendalia Pro=" + puntoDeVenta.toUtf8() +
                      "\r\nIntervalo en minutos para enviar productos=" + intervalo + "\r\n")) {
        salida << "no se pudo preparar la carpeta del programa\n";
        return 2;
    }

    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    entorno.insert(QStringLiteral("XDG_CONFIG_HOME"), configuracion.path());
    entorno.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS")); // the X11 tray, not a D-Bus one

    std::vector<qint64> tiempos;
    double cpuEnReposo = -1;
    for (int i = 0; i < arranques; ++i) {
        QProcess proceso;
        proceso.setProcessEnvironment(entorno);
        proceso.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer reloj;
        reloj.start();
        proceso.start(programa, {QStringLiteral("--carpeta"), carpeta.path()});
        const xcb_window_t icono = bandeja.esperarIcono(10000);
        const qint64 transcurrido = reloj.elapsed();
        if (icono == 0) {
            salida << "el icono no llegó en 10 s (arranque " << i + 1 << ")\n";
            proceso.kill();
            proceso.waitForFinished();
            return 1;
        }
        tiempos.push_back(transcurrido);
        if (i == arranques - 1 && reposo > 0) {
            // Settled: the first second's work is over; then only the one-second tick runs.
            QThread::sleep(2);
            const double antes = cpuDe(proceso.processId());
            QThread::sleep(reposo);
            cpuEnReposo = cpuDe(proceso.processId()) - antes;
        }
        proceso.terminate();
        if (!proceso.waitForFinished(5000))
            proceso.kill();
    }

    std::sort(tiempos.begin(), tiempos.end());
    salida << "arranque hasta el icono en el área de notificación (" << tiempos.size()
           << " arranques): mínimo " << tiempos.front() << " ms, mediana " << tiempos[tiempos.size() / 2]
           << " ms, máximo " << tiempos.back() << " ms\n";
    if (cpuEnReposo >= 0)
        salida << "procesador en reposo: " << QString::number(cpuEnReposo, 'f', 1) << " ms en " << reposo
               << " s (" << QString::number(cpuEnReposo / reposo, 'f', 2) << " ms por segundo)\n";
    return tiempos.back() < 1000 ? 0 : 1;
}
