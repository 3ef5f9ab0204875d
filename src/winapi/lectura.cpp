#include "winapi/lectura.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>

#include <QDeadlineTimer>
#include <QThread>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using lectura::Estado;

// What one attempt found.
struct Lectura {
    Estado estado = Estado::ausente;
    QByteArray bytes;
    QString ruta;   // as the user sees it ("\\" on Windows)
    QString motivo; // the system's reason, when unreadable
};

Lectura ilegible(Lectura l, const QString& motivo) {
    l.estado = Estado::ilegible;
    l.motivo = motivo;
    return l;
}

QString esCarpeta() {
    return QStringLiteral("es una carpeta, no un archivo");
}

QString demasiadoGrande(qint64 tamano, qint64 maximo) {
    return QStringLiteral("mide %1 bytes, más de los %2 que puede tener").arg(tamano).arg(maximo);
}

#ifdef Q_OS_WIN

// How long a file held by another program is waited for, and how often it is tried meanwhile.
constexpr int kEsperaSiOcupado = 2000;
constexpr int kIntervalo = 100;

bool ocupado(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// One attempt; `error` is set to the system's code when it failed.
Lectura intentar(Lectura l, qint64 maximo, DWORD& error) {
    error = ERROR_SUCCESS;
    const std::wstring nombre = l.ruta.toStdWString();
    // Others may go on reading, writing and even replacing the file meanwhile: the program never holds
    // a file against the point of sale or the user's editor.
    HANDLE h =
        CreateFileW(nombre.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return l;
        const DWORD atributos = GetFileAttributesW(nombre.c_str());
        if (atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY))
            return ilegible(l, esCarpeta());
        return ilegible(l, qt_error_string(int(error)));
    }
    LARGE_INTEGER tamano{};
    if (!GetFileSizeEx(h, &tamano)) {
        error = GetLastError();
        CloseHandle(h);
        return ilegible(l, qt_error_string(int(error)));
    }
    if (tamano.QuadPart > maximo) {
        CloseHandle(h);
        return ilegible(l, demasiadoGrande(tamano.QuadPart, maximo));
    }
    l.bytes.resize(qsizetype(tamano.QuadPart));
    qsizetype leidos = 0;
    while (leidos < l.bytes.size()) {
        DWORD parte = 0;
        const DWORD pedido = DWORD(qMin<qsizetype>(l.bytes.size() - leidos, 1 << 20));
        if (!ReadFile(h, l.bytes.data() + leidos, pedido, &parte, nullptr)) {
            error = GetLastError();
            CloseHandle(h);
            return ilegible(l, qt_error_string(int(error)));
        }
        if (parte == 0)
            break; // made shorter meanwhile
        leidos += parte;
    }
    CloseHandle(h);
    l.bytes.truncate(leidos);
    l.estado = Estado::leido;
    return l;
}

#else

Lectura intentar(Lectura l, qint64 maximo) {
    const QByteArray nombre = QFile::encodeName(l.ruta);
    int fd = -1;
    // Without blocking: a pipe in the file's place must not hang the program waiting for a writer.
    do
        fd = ::open(nombre.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? l : ilegible(l, qt_error_string(errno));
    struct stat datos {};
    QString motivo;
    if (fstat(fd, &datos) != 0)
        motivo = qt_error_string(errno);
    else if (S_ISDIR(datos.st_mode))
        motivo = esCarpeta();
    else if (!S_ISREG(datos.st_mode))
        motivo = QStringLiteral("no es un archivo común");
    else if (datos.st_size > maximo)
        motivo = demasiadoGrande(datos.st_size, maximo);
    l.bytes.resize(motivo.isEmpty() ? qsizetype(datos.st_size) : 0);
    qsizetype leidos = 0;
    while (motivo.isEmpty() && leidos < l.bytes.size()) {
        const ssize_t parte = ::read(fd, l.bytes.data() + leidos, size_t(l.bytes.size() - leidos));
        if (parte < 0 && errno == EINTR)
            continue;
        if (parte < 0)
            motivo = qt_error_string(errno);
        if (parte <= 0)
            break; // an error, or made shorter meanwhile
        leidos += parte;
    }
    ::close(fd);
    if (!motivo.isEmpty())
        return ilegible(l, motivo);
    l.bytes.truncate(leidos);
    l.estado = Estado::leido;
    return l;
}

#endif

} // namespace

namespace lectura {

QString noSePuedeLeer(const QString& ruta, const QString& porQue) {
    return QStringLiteral("no se puede leer %1: %2").arg(QDir::toNativeSeparators(ruta), porQue);
}

Estado leer(const QString& ruta, QByteArray& bytes, QString* error, qint64 maximo) {
    Lectura nueva;
    nueva.ruta = QDir::toNativeSeparators(ruta);
#ifdef Q_OS_WIN
    const QDeadlineTimer limite(kEsperaSiOcupado);
    Lectura l;
    for (;;) {
        DWORD codigo = ERROR_SUCCESS;
        l = intentar(nueva, maximo, codigo);
        if (!ocupado(codigo) || limite.hasExpired())
            break;
        QThread::msleep(kIntervalo);
    }
#else
    Lectura l = intentar(nueva, maximo);
#endif
    bytes = std::move(l.bytes);
    if (l.estado == Estado::ilegible && error)
        *error = l.motivo;
    return l.estado;
}

} // namespace lectura
