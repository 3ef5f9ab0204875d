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

// Read a block at a time, so that a large file is never held twice.
constexpr qint64 kBloque = 1 << 20;

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
Lectura intentar(Lectura l, qint64 maximo, const lectura::Parte& parte, DWORD& error) {
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
    QByteArray bloque(qMin<qint64>(tamano.QuadPart, kBloque), Qt::Uninitialized);
    for (qint64 leidos = 0; leidos < tamano.QuadPart;) {
        DWORD n = 0;
        const DWORD pedido = DWORD(qMin<qint64>(tamano.QuadPart - leidos, bloque.size()));
        if (!ReadFile(h, bloque.data(), pedido, &n, nullptr)) {
            error = GetLastError();
            CloseHandle(h);
            return ilegible(l, qt_error_string(int(error)));
        }
        if (n == 0)
            break; // made shorter meanwhile
        parte(leidos, QByteArrayView(bloque).first(n));
        leidos += n;
    }
    CloseHandle(h);
    l.estado = Estado::leido;
    return l;
}

#else

Lectura intentar(Lectura l, qint64 maximo, const lectura::Parte& parte) {
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
    QByteArray bloque(motivo.isEmpty() ? qMin<qint64>(datos.st_size, kBloque) : 0, Qt::Uninitialized);
    for (qint64 leidos = 0; motivo.isEmpty() && leidos < datos.st_size;) {
        const ssize_t n =
            ::read(fd, bloque.data(), size_t(qMin<qint64>(datos.st_size - leidos, bloque.size())));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            motivo = qt_error_string(errno);
        if (n <= 0)
            break; // an error, or made shorter meanwhile
        parte(leidos, QByteArrayView(bloque).first(n));
        leidos += n;
    }
    ::close(fd);
    if (!motivo.isEmpty())
        return ilegible(l, motivo);
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
    bytes.clear();
    return leerEnPartes(
        ruta,
        [&bytes](qint64 desde, QByteArrayView parte) {
            // A try after one cut short by another program starts the file again.
            if (desde == 0)
                bytes.clear();
            bytes.append(parte);
        },
        error, maximo);
}

Estado leerEnPartes(const QString& ruta, const Parte& parte, QString* error, qint64 maximo) {
    Lectura nueva;
    nueva.ruta = QDir::toNativeSeparators(ruta);
#ifdef Q_OS_WIN
    const QDeadlineTimer limite(kEsperaSiOcupado);
    Lectura l;
    for (;;) {
        DWORD codigo = ERROR_SUCCESS;
        l = intentar(nueva, maximo, parte, codigo);
        if (!ocupado(codigo) || limite.hasExpired())
            break;
        QThread::msleep(kIntervalo);
    }
#else
    Lectura l = intentar(nueva, maximo, parte);
#endif
    if (l.estado == Estado::ilegible && error)
        *error = l.motivo;
    return l.estado;
}

} // namespace lectura
