#include "winapi/kernel32.h"

#include "winapi/ansi.h"

#include <QByteArray>
#include <QDateTime>
#include <cstring>
#include <limits>

namespace kernel32 {

struct ModuleTag {};

namespace {

thread_local DWORD ultimoError = 0;

// The one module whose messages we hold; its address is the handle.
constexpr ModuleTag kWininet{};

// The texts of the codes the Internet layer reports, as the user reads them in an error message.
struct Mensaje {
    DWORD codigo;
    const char* texto;
};
constexpr Mensaje kMensajes[] = {
    {ERROR_FILE_NOT_FOUND, "No se encuentra el archivo."},
    {ERROR_ACCESS_DENIED, "Acceso denegado."},
    {ERROR_INVALID_HANDLE, "El identificador no es válido."},
    {ERROR_NO_MORE_FILES, "No hay más archivos."},
    {ERROR_FILE_EXISTS, "El archivo ya existe."},
    {12002, "Se agotó el tiempo de espera de la operación."},
    {12003, "El servidor devolvió un error; su respuesta da el detalle."},
    {12004, "Se produjo un error interno."},
    {12005, "La dirección URL no es válida."},
    {12006, "No se reconoce el esquema de la dirección URL o no se admite."},
    {12007, "No se pudo resolver el nombre del servidor."},
    {12017, "La operación se canceló."},
    {12018, "El tipo de identificador no es correcto para esta operación."},
    {12029, "No se pudo establecer una conexión con el servidor."},
    {12030, "La conexión con el servidor terminó de forma anormal."},
    {12045, "El certificado del servidor no es de una entidad emisora de confianza."},
    {12110, "Hay una transferencia de archivo en curso en esta conexión."},
    {12112, "No se pudo abrir la conexión de datos en modo pasivo."},
    {12157, "Se produjo un error en el canal seguro (TLS)."},
};

constexpr qint64 kMsEntre1601y1970 = 11644473600000LL;
constexpr qint64 kTicksPorMs = 10000;

} // namespace

DWORD GetLastError() {
    return ultimoError;
}

void SetLastError(DWORD dwErrCode) {
    ultimoError = dwErrCode;
}

HMODULE GetModuleHandleA(const char* lpModuleName) {
    if (lpModuleName && QByteArray(lpModuleName).compare("wininet.dll", Qt::CaseInsensitive) == 0)
        return &kWininet;
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD FormatMessageA(DWORD dwFlags, const void* lpSource, DWORD dwMessageId, DWORD /*dwLanguageId*/,
                     char* lpBuffer, DWORD nSize, const void* /*Arguments*/) {
    if (!(dwFlags & FORMAT_MESSAGE_FROM_HMODULE) || lpSource != &kWininet || !lpBuffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (const Mensaje& m : kMensajes) {
        if (m.codigo != dwMessageId)
            continue;
        // Callers read the text as ANSI, like every string of the layer.
        const QByteArray texto = aAnsi(QString::fromUtf8(m.texto)) + "\r\n";
        if (static_cast<DWORD>(texto.size()) >= nSize) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::memcpy(lpBuffer, texto.constData(), texto.size() + 1);
        return static_cast<DWORD>(texto.size());
    }
    SetLastError(ERROR_MR_MID_NOT_FOUND);
    return 0;
}

FILETIME fileTimeFromMSecsSinceEpoch(qint64 msecs) {
    const auto ticks = static_cast<quint64>((msecs + kMsEntre1601y1970) * kTicksPorMs);
    return {static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

quint64 fileTimeTicks(const FILETIME& ft) {
    return (static_cast<quint64>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

bool FileTimeToLocalFileTime(const FILETIME* lpFileTime, FILETIME* lpLocalFileTime) {
    const quint64 ticks = lpFileTime ? fileTimeTicks(*lpFileTime) : 0;
    if (!lpFileTime || !lpLocalFileTime || ticks > static_cast<quint64>(std::numeric_limits<qint64>::max())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const qint64 ms = static_cast<qint64>(ticks) / kTicksPorMs - kMsEntre1601y1970;
    const qint64 desfase = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toLocalTime().offsetFromUtc();
    const auto local = static_cast<qint64>(ticks) + desfase * 1000 * kTicksPorMs;
    *lpLocalFileTime = {static_cast<DWORD>(static_cast<quint64>(local) & 0xFFFFFFFFu),
                        static_cast<DWORD>(static_cast<quint64>(local) >> 32)};
    return true;
}

} // namespace kernel32
