#include "shell/SenalesDeFin.h"

#include <QObject>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int tuberia[2] = {-1, -1};
constexpr int kSenales[] = {SIGTERM, SIGINT, SIGHUP};

// Only what a signal handler may do: write a byte, and let the next signal end the process.
void alLlegar(int senal) {
    std::signal(senal, SIG_DFL);
    const char byte = 1;
    [[maybe_unused]] const ssize_t escrito = ::write(tuberia[1], &byte, 1);
}

} // namespace

void atenderSenalesDeFin(QObject* contexto, std::function<void()> alRecibir) {
    if (tuberia[0] == -1 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, tuberia) != 0)
        return;
    auto* aviso = new QSocketNotifier(tuberia[0], QSocketNotifier::Read, contexto);
    QObject::connect(aviso, &QSocketNotifier::activated, contexto, [alRecibir = std::move(alRecibir)] {
        char byte = 0;
        [[maybe_unused]] const ssize_t leido = ::read(tuberia[0], &byte, 1);
        alRecibir();
    });
    struct sigaction accion {};
    accion.sa_handler = alLlegar;
    sigemptyset(&accion.sa_mask);
    accion.sa_flags = SA_RESTART;
    for (const int senal : kSenales)
        sigaction(senal, &accion, nullptr);
}

#else

void atenderSenalesDeFin(QObject*, std::function<void()>) {}

#endif
