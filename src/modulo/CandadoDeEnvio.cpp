#include "modulo/CandadoDeEnvio.h"

#include "modulo/ArchivosDelPrograma.h"
#include "winapi/lectura.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QThread>
#include <optional>
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

constexpr int kPaso = 50;
// What a lock file may hold: three short lines.
constexpr qsizetype kMaximo = 4096;

struct Dueno {
    qint64 proceso = 0;
    QString programa;
    QString equipo;
};

// The holder a lock file names, when it names one.
std::optional<Dueno> duenoDe(const QByteArray& contenido) {
    const QList<QByteArray> lineas = contenido.split('\n');
    bool numero = false;
    const qint64 proceso = lineas.constFirst().trimmed().toLongLong(&numero);
    if (!numero || proceso <= 0 || lineas.size() < 3)
        return std::nullopt;
    return Dueno{proceso, QString::fromUtf8(lineas[1].trimmed()), QString::fromUtf8(lineas[2].trimmed())};
}

QByteArray contenidoPropio() {
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
           QCoreApplication::applicationName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
}

#ifdef Q_OS_WIN
HANDLE comoHandle(qintptr manejador) {
    return reinterpret_cast<HANDLE>(manejador);
}
// The byte locked lies far past what the file holds: Windows keeps others from reading a locked range,
// and the holder's name must stay readable.
OVERLAPPED byteDelCandado() {
    OVERLAPPED o{};
    o.OffsetHigh = 0x40000000;
    return o;
}
QString errorDelSistema() {
    return qt_error_string(int(GetLastError()));
}
#else
QString errorDelSistema() {
    return qt_error_string(errno);
}
#endif

} // namespace

CandadoDeEnvio::CandadoDeEnvio(const QString& carpeta) : ruta(archivos::en(carpeta, archivos::kCandado)) {}

CandadoDeEnvio::~CandadoDeEnvio() {
    if (tomado) {
        // Emptied, so that the next send finds nothing left behind.
#ifdef Q_OS_WIN
        HANDLE h = comoHandle(manejador);
        SetFilePointer(h, 0, nullptr, FILE_BEGIN);
        SetEndOfFile(h);
        OVERLAPPED o = byteDelCandado();
        UnlockFileEx(h, 0, 1, 0, &o);
#else
        if (ftruncate(int(manejador), 0) != 0)
            spdlog::warn("No se puede vaciar {}: {}", ruta.toStdString(), errorDelSistema().toStdString());
        flock(int(manejador), LOCK_UN);
#endif
    }
    cerrar();
}

void CandadoDeEnvio::cerrar() {
    if (manejador == -1)
        return;
#ifdef Q_OS_WIN
    CloseHandle(comoHandle(manejador));
#else
    ::close(int(manejador));
#endif
    manejador = -1;
    tomado = false;
}

CandadoDeEnvio::Toma CandadoDeEnvio::tomar(const std::function<void()>& esperando, QString* error) {
    QString sinUso;
    if (!error)
        error = &sinUso;
    const QDeadlineTimer limite(nMilisegundosDeEspera);
    for (;;) {
        if (const Toma toma = intentar(error); toma != Toma::ocupado)
            return toma;
        if (limite.hasExpired())
            break;
        esperando();
        QThread::msleep(kPaso);
    }
    QString quien;
    QByteArray contenido;
    lectura::leer(ruta, contenido, nullptr, kMaximo);
    if (const std::optional<Dueno> dueno = duenoDe(contenido))
        // Computer names ignore case: Windows writes "TIENDA" where the network name is "tienda".
        quien = dueno->equipo.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0
                    ? QStringLiteral(" (proceso %1)").arg(dueno->proceso)
                    : QStringLiteral(" (proceso %1 del equipo %2)").arg(dueno->proceso).arg(dueno->equipo);
    *error = QStringLiteral("otro envío de esta carpeta%1 seguía en curso después de esperarlo %2 s")
                 .arg(quien)
                 .arg(nMilisegundosDeEspera / 1000.0);
    return Toma::ocupado;
}

bool CandadoDeEnvio::anotarDueno(QString* error) {
    QByteArray antes(kMaximo, Qt::Uninitialized);
    const QByteArray propio = contenidoPropio();
#ifdef Q_OS_WIN
    HANDLE h = comoHandle(manejador);
    DWORD leidos = 0;
    if (!ReadFile(h, antes.data(), DWORD(antes.size()), &leidos, nullptr))
        leidos = 0;
    antes.truncate(qsizetype(leidos));
    DWORD escritos = 0;
    const bool escrito = SetFilePointer(h, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                         SetEndOfFile(h) &&
                         WriteFile(h, propio.constData(), DWORD(propio.size()), &escritos, nullptr) &&
                         escritos == DWORD(propio.size());
#else
    const int fd = int(manejador);
    antes.truncate(qMax<qsizetype>(0, pread(fd, antes.data(), size_t(antes.size()), 0)));
    bool escrito = ftruncate(fd, 0) == 0;
    // Written to the end: a write cut short by a full disk says why only at its next try.
    for (qsizetype hecho = 0; escrito && hecho < propio.size();) {
        const ssize_t parte = pwrite(fd, propio.constData() + hecho, size_t(propio.size() - hecho), hecho);
        escrito = parte > 0 || (parte < 0 && errno == EINTR);
        hecho += qMax<ssize_t>(parte, 0);
    }
#endif
    if (!escrito) {
        *error = errorDelSistema();
        return false;
    }
    if (antes.isEmpty())
        return true;
    // The operating system let go of it, so whoever wrote this is gone: a crash, a power cut, or a lock
    // file that never was a send's.
    const std::optional<Dueno> dueno = duenoDe(antes);
    const QString nativa = QDir::toNativeSeparators(ruta);
    if (dueno)
        spdlog::warn("Envío: {} era del proceso {} ({}, equipo {}), que terminó sin soltarlo; se toma",
                     nativa.toStdString(), dueno->proceso, dueno->programa.toStdString(),
                     dueno->equipo.toStdString());
    else
        spdlog::warn("Envío: {} tenía algo que no es de un envío en curso; se toma", nativa.toStdString());
    return true;
}

CandadoDeEnvio::Toma CandadoDeEnvio::intentar(QString* error) {
    const QString nativa = QDir::toNativeSeparators(ruta);
#ifdef Q_OS_WIN
    if (manejador == -1) {
        // Shared every way: a send that waits, or that only reads who holds it, must be able to open it.
        HANDLE h = CreateFileW(nativa.toStdWString().c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            // Held by a program that shares it with nobody (an antivirus scanning it): busy, not broken.
            if (GetLastError() == ERROR_SHARING_VIOLATION)
                return Toma::ocupado;
            *error = QStringLiteral("no se puede crear %1: %2").arg(nativa, errorDelSistema());
            return Toma::fallido;
        }
        manejador = reinterpret_cast<qintptr>(h);
    }
    OVERLAPPED o = byteDelCandado();
    if (!LockFileEx(comoHandle(manejador), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                    &o)) {
        if (GetLastError() == ERROR_LOCK_VIOLATION || GetLastError() == ERROR_IO_PENDING)
            return Toma::ocupado;
        *error = QStringLiteral("no se puede bloquear %1: %2").arg(nativa, errorDelSistema());
        cerrar();
        return Toma::fallido;
    }
#else
    if (manejador == -1) {
        const int fd = ::open(QFile::encodeName(ruta).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) {
            *error = QStringLiteral("no se puede crear %1: %2").arg(nativa, errorDelSistema());
            return Toma::fallido;
        }
        manejador = fd;
    }
    if (flock(int(manejador), LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK || errno == EINTR)
            return Toma::ocupado;
        *error = QStringLiteral("no se puede bloquear %1: %2").arg(nativa, errorDelSistema());
        cerrar();
        return Toma::fallido;
    }
#endif
    tomado = true;
    QString sistema;
    if (anotarDueno(&sistema))
        return Toma::tomado;
    *error = QStringLiteral("no se puede escribir %1: %2").arg(nativa, sistema);
    cerrar(); // closing it lets the lock go
    return Toma::fallido;
}
