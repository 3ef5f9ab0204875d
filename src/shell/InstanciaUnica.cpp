#include "shell/InstanciaUnica.h"

#include "modulo/ArchivosDelPrograma.h"
#include "shell/clsInicio.h"
#include "shell/frmInicial.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <algorithm>
#include <spdlog/spdlog.h>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {
const QByteArray pedido = QByteArrayLiteral("mostrar\n");
constexpr int msDeRespuesta = 1000;
// How long a later start keeps trying to reach a program that holds the guard but does not listen yet.
constexpr int msParaLaQueArranca = 10000;
constexpr int msEntreIntentos = 50;
} // namespace

// The same folder reached by another path (a link, a "..") gives the same name.
QString InstanciaUnica::nombreDelServidor(const QString& carpeta) {
    const QFileInfo info(carpeta);
    const QString ruta =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    return QStringLiteral("catalogo-ftp-") +
           QString::fromLatin1(
               QCryptographicHash::hash(ruta.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
}

InstanciaUnica::InstanciaUnica(const QString& carpeta) {
    const QString nombre = nombreDelServidor(carpeta);
    const QString archivo = archivos::en(carpeta, archivos::kInstancia);
    const QDeadlineTimer limite(msParaLaQueArranca);
    for (;;) {
        switch (tomarGuarda(archivo)) {
        case Guarda::tomada:
            escuchar(nombre, true);
            return;
        case Guarda::sinArchivo:
            // A folder where the program cannot even make this file: it runs unguarded, as it would
            // anyway fail to keep its settings and log there.
            escuchar(nombre, false);
            return;
        case Guarda::deOtro:
            break;
        }
        // The program that holds the guard may be a moment from listening; or it may end meanwhile, and
        // this start takes its place.
        if (avisarALaQueCorre(nombre, limite) || limite.hasExpired())
            return;
        QThread::msleep(msEntreIntentos);
    }
}

InstanciaUnica::~InstanciaUnica() {
    if (guarda == -1)
        return;
#ifdef Q_OS_WIN
    CloseHandle(reinterpret_cast<HANDLE>(guarda));
#else
    ::close(static_cast<int>(guarda));
#endif
}

InstanciaUnica::Guarda InstanciaUnica::tomarGuarda(const QString& archivo) {
#ifdef Q_OS_WIN
    const HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(archivo.utf16()), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return Guarda::sinArchivo;
    OVERLAPPED todo{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &todo)) {
        const DWORD error = GetLastError();
        CloseHandle(h);
        return error == ERROR_LOCK_VIOLATION ? Guarda::deOtro : Guarda::sinArchivo;
    }
    guarda = reinterpret_cast<qintptr>(h);
#else
    // Read-only is enough for the lock, and lets another user of the folder see that it is taken.
    const int fd = ::open(QFile::encodeName(archivo).constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return Guarda::sinArchivo;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Guarda::deOtro : Guarda::sinArchivo;
    }
    guarda = fd;
#endif
    return Guarda::tomada;
}

bool InstanciaUnica::avisarALaQueCorre(const QString& nombre, const QDeadlineTimer& limite) {
    QLocalSocket socket;
    socket.connectToServer(nombre);
    if (!socket.waitForConnected(msDeRespuesta))
        return false;
    socket.write(pedido);
    socket.waitForBytesWritten(msDeRespuesta);
    // The answer says the window was shown. A program still starting answers once its start-up is over:
    // waiting for it keeps the request from being lost with this start's end (a Windows pipe loses what
    // its closed end wrote), and this start ends either way.
    socket.waitForReadyRead(std::max(msDeRespuesta, int(limite.remainingTime())));
    return true;
}

void InstanciaUnica::escuchar(const QString& nombre, bool conGuarda) {
    deEstaCarpeta = true;
    servidor.setSocketOptions(QLocalServer::UserAccessOption);
    // With the guard no other program of this folder runs, so a name left behind belongs to one that
    // ended without cleaning up; without it the name may be a live program's, and stays.
    if (!servidor.listen(nombre) && conGuarda) {
        QLocalServer::removeServer(nombre);
        servidor.listen(nombre);
    }
    if (!servidor.isListening())
        avisos << QStringLiteral("Sin aviso entre arranques: ") + servidor.errorString();
    if (!conGuarda)
        avisos << QStringLiteral("Sin guarda de un solo programa en esta carpeta: no se puede crear ") +
                      archivos::kInstancia;
    connect(&servidor, &QLocalServer::newConnection, this, &InstanciaUnica::atenderConexiones);
}

void InstanciaUnica::atender(frmInicial& laVentana) {
    for (const QString& aviso : std::as_const(avisos))
        spdlog::warn("{}", aviso.toStdString());
    ventana = &laVentana;
    if (pedida)
        mostrar();
}

void InstanciaUnica::mostrar() {
    pedida = ventana == nullptr;
    if (ventana)
        clsInicio().Restaurar(*ventana);
}

void InstanciaUnica::atenderConexiones() {
    while (QLocalSocket* socket = servidor.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto leer = [this, socket] {
            if (!socket->canReadLine() || socket->readLine() != pedido)
                return;
            spdlog::info("Otro arranque en esta carpeta: se muestra la ventana del programa que ya funciona");
            mostrar();
            socket->write(QByteArrayLiteral("ok\n"));
            socket->flush();
        };
        connect(socket, &QLocalSocket::readyRead, this, leer);
        leer();
    }
}
