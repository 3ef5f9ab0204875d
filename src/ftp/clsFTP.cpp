#include "ftp/clsFTP.h"

#include "modulo/Ritmo.h"
#include "modulo/Rutinas.h"
#include "winapi/ansi.h"

#include <QCoreApplication>
#include <QFile>
#include <array>
#include <limits>

using namespace wininet;
using kernel32::GetLastError;

namespace {

constexpr qint32 kChunk = 255;
// Between chunks the window's waiting events are looked at this often, not after every 255 bytes: a
// person sees no difference, and a transfer does not spend most of its time in the event loop.
constexpr qint64 kEventosCadaMs = 10;

// Only spaces, not other blanks, as the paths have always been trimmed.
QString withoutSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

QString textUpToNul(const char* buffer) {
    return desdeAnsi(QByteArray(buffer));
}

} // namespace

clsFTP::clsFTP(QObject* parent) : QObject(parent) {}

clsFTP::~clsFTP() {
    AbandonTransfer();
    CloseConnection();
}

std::shared_ptr<cDirList> clsFTP::Directory() {
    if (!m_Listado)
        m_Listado = std::make_shared<cDirList>();
    return m_Listado;
}

QString clsFTP::GetLastErrorMessage() const {
    return m_sLastError;
}

bool clsFTP::OpenConnection(const QString& sServer, const QString& sUser, const QString& sPassWord) {
    if (m_hConnection || m_hSession)
        CloseConnection();
    if (!InternetAutodial(INTERNET_AUTODIAL_FORCE_ONLINE, nullptr))
        return false;
    m_hSession = InternetOpenA("Quenda FTP Client", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!m_hSession) {
        StoreLastError(GetLastError(), QStringLiteral("InternetOpen"));
        return false;
    }
    m_hConnection = InternetConnectA(m_hSession, aAnsi(sServer).constData(), INTERNET_INVALID_PORT_NUMBER,
                                     aAnsi(sUser).constData(), aAnsi(sPassWord).constData(),
                                     INTERNET_SERVICE_FTP, m_lConnectionFlags, 0);
    if (!m_hConnection) {
        StoreLastError(GetLastError(), QStringLiteral("InternetConnect"));
        return false;
    }
    return true;
}

void clsFTP::CloseConnection() {
    if (m_hConnection) {
        InternetCloseHandle(m_hConnection);
        m_hConnection = nullptr;
    }
    if (m_hSession) {
        InternetCloseHandle(m_hSession);
        m_hSession = nullptr;
    }
}

bool clsFTP::SimpleFTPPutFile(const QString& sLocal, const QString& sRemote) {
    if (FtpPutFileA(m_hConnection, aAnsi(sLocal).constData(), aAnsi(sRemote).constData(), m_lTransferType, 0))
        return true;
    StoreLastError(GetLastError(), QStringLiteral("SimpleFtpPutFile"));
    return false;
}

bool clsFTP::RenameFTPFile(const QString& sExisting, const QString& sNewName) {
    if (FtpRenameFileA(m_hConnection, aAnsi(sExisting).constData(), aAnsi(sNewName).constData()))
        return true;
    StoreLastError(GetLastError(), QStringLiteral("RenameFTPFile"));
    return false;
}

bool clsFTP::CreateFTPDirectory(const QString& sDirectory) {
    if (FtpCreateDirectoryA(m_hConnection, aAnsi(sDirectory).constData()))
        return true;
    StoreLastError(GetLastError(), QStringLiteral("CreateFTPDirectory"));
    return false;
}

bool clsFTP::RemoveFTPDirectory(const QString& sDirectory) {
    if (FtpRemoveDirectoryA(m_hConnection, aAnsi(sDirectory).constData()))
        return true;
    StoreLastError(GetLastError(), QStringLiteral("RemoveFTPDirectory"));
    return false;
}

bool clsFTP::DeleteFTPFile(const QString& sRemote) {
    if (FtpDeleteFileA(m_hConnection, aAnsi(sRemote).constData()))
        return true;
    StoreLastError(GetLastError(), QStringLiteral("DeleteFTPFile"));
    return false;
}

bool clsFTP::FTPUploadFile(const QString& sLocal, const QString& sRemote) {
    QString local = sLocal;
    QString remote = sRemote;
    return FTPUploadFile(local, remote);
}

bool clsFTP::FTPUploadFile(QString& sLocal, QString& sRemote) {
    sLocal = withoutSpaces(sLocal);
    sRemote = withoutSpaces(sRemote);
    if (sLocal.isEmpty() || sRemote.isEmpty())
        return false;
    m_hTransfer = FtpOpenFileA(m_hConnection, aAnsi(sRemote).constData(), GENERIC_WRITE, m_lTransferType, 0);
    if (!m_hTransfer) {
        StoreLastError(GetLastError(), QStringLiteral("FtpOpenFile:PutFile"));
        return false;
    }
    QFile file(sLocal);
    if (!file.open(QIODevice::ReadOnly) || file.size() > std::numeric_limits<qint32>::max()) {
        AbandonTransfer();
        return false;
    }
    const auto lTotalBytes = static_cast<qint32>(file.size());
    qint32 lCurrentBytes = 0;
    std::array<char, kChunk> buffer{};
    DWORD written = 0;
    Ritmo eventos(kEventosCadaMs);
    for (qint32 chunk = 0; chunk < lTotalBytes / kChunk; ++chunk) {
        if (m_blSigue) {
            file.read(buffer.data(), kChunk);
            if (!InternetWriteFile(m_hTransfer, buffer.data(), kChunk, &written)) {
                StoreLastError(GetLastError(), QStringLiteral("InternetWriteFile"));
                AbandonTransfer();
                return false;
            }
            if (eventos.toca())
                QCoreApplication::processEvents();
            lCurrentBytes += kChunk;
        }
        emit FileTransferProgress(lCurrentBytes, lTotalBytes);
    }
    if (m_blSigue && lTotalBytes % kChunk != 0) {
        const qint32 rest = lTotalBytes % kChunk;
        file.read(buffer.data(), rest);
        if (!InternetWriteFile(m_hTransfer, buffer.data(), static_cast<DWORD>(rest), &written)) {
            StoreLastError(GetLastError(), QStringLiteral("InternetWriteFile2"));
            AbandonTransfer();
            return false;
        }
    }
    lCurrentBytes = lTotalBytes;
    file.close();
    emit FileTransferProgress(lCurrentBytes, lTotalBytes);
    return EndTransfer();
}

bool clsFTP::FTPDownloadFile(const QString& sLocal, const QString& sRemote) {
    QString local = sLocal;
    QString remote = sRemote;
    return FTPDownloadFile(local, remote);
}

bool clsFTP::FTPDownloadFile(QString& sLocal, QString& sRemote) {
    sLocal = withoutSpaces(sLocal);
    sRemote = withoutSpaces(sRemote);
    if (sLocal.isEmpty() || sRemote.isEmpty())
        return false;
    const qint32 lTotalBytes = GetFTPFileSize(sRemote);
    if (lTotalBytes <= 0)
        return false;
    m_hTransfer = FtpOpenFileA(m_hConnection, aAnsi(sRemote).constData(), GENERIC_READ, m_lTransferType, 0);
    if (!m_hTransfer) {
        StoreLastError(GetLastError(), QStringLiteral("FtpOpenFile:GetFile"));
        return false;
    }
    // Written from its first byte, and cut to what arrives: no tail of an older, longer file is left.
    QFile file(sLocal);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        AbandonTransfer();
        return false;
    }
    Ritmo eventos(kEventosCadaMs);
    qint32 lCurrentBytes = 0;
    std::array<char, kChunk> buffer{};
    DWORD read = 0;
    for (qint32 chunk = 0; chunk < lTotalBytes / kChunk; ++chunk) {
        if (!InternetReadFile(m_hTransfer, buffer.data(), kChunk, &read)) {
            StoreLastError(GetLastError(), QStringLiteral("InternetReadFile"));
            AbandonTransfer();
            return false;
        }
        // A file that shrank on the server gives short reads; only what arrived is written.
        file.write(buffer.data(), read);
        if (eventos.toca())
            QCoreApplication::processEvents();
        lCurrentBytes += kChunk;
        emit FileTransferProgress(lCurrentBytes, lTotalBytes);
    }
    if (const qint32 rest = lTotalBytes % kChunk; rest != 0) {
        if (!InternetReadFile(m_hTransfer, buffer.data(), static_cast<DWORD>(rest), &read)) {
            StoreLastError(GetLastError(), QStringLiteral("InternetReadFile2"));
            AbandonTransfer();
            return false;
        }
        file.write(buffer.data(), read);
    }
    file.close();
    lCurrentBytes = lTotalBytes;
    emit FileTransferProgress(lCurrentBytes, lTotalBytes);
    return EndTransfer();
}

bool clsFTP::SimpleFTPGetFile(const QString& sLocal, const QString& sRemote) {
    if (FtpGetFileA(m_hConnection, aAnsi(sRemote).constData(), aAnsi(sLocal).constData(), false,
                    0x80 /* FILE_ATTRIBUTE_NORMAL */, m_lTransferType | INTERNET_FLAG_RELOAD, 0))
        return true;
    StoreLastError(GetLastError(), QStringLiteral("SimpleFtpGetFile"));
    return false;
}

QString clsFTP::GetFTPDirectory() {
    QByteArray buffer(1024, '\0');
    DWORD length = 1024;
    if (FtpGetCurrentDirectoryA(m_hConnection, buffer.data(), &length))
        return textUpToNul(buffer.constData());
    StoreLastError(GetLastError(), QStringLiteral("FtpGetCurrentDirectory"));
    return QString();
}

bool clsFTP::SetFTPDirectory(const QString& sDir) {
    if (FtpSetCurrentDirectoryA(m_hConnection, aAnsi(sDir).constData()))
        return true;
    StoreLastError(GetLastError(), QStringLiteral("FtpSetCurrentDirectory"));
    return false;
}

qint32 clsFTP::GetFTPFileSize(const QString& sFile) {
    QString pattern = sFile;
    pattern.replace(u' ', u'?');
    WIN32_FIND_DATAA data;
    const HINTERNET hFind = FtpFindFirstFileA(m_hConnection, aAnsi(pattern).constData(), &data, 0, 0);
    const DWORD code = GetLastError();
    if (hFind) {
        InternetCloseHandle(hFind);
        return static_cast<qint32>(data.nFileSizeLow);
    }
    if (code == ERROR_NO_MORE_FILES)
        return -1;
    StoreLastError(code, QStringLiteral("FtpFindFirstFile"));
    return -2;
}

std::shared_ptr<cDirList> clsFTP::GetDirectoryListing(const QString& sFilter) {
    m_Listado.reset();
    WIN32_FIND_DATAA data;
    const HINTERNET hFind = FtpFindFirstFileA(m_hConnection, aAnsi(sFilter).constData(), &data, 0, 0);
    DWORD code = GetLastError();
    if (!hFind) {
        if (code != ERROR_NO_MORE_FILES)
            StoreLastError(code, QStringLiteral("FtpFindFirstFile"));
        return nullptr;
    }
    do {
        const double creation = FileTimeToDate(data.ftCreationTime);
        const double access = FileTimeToDate(data.ftLastAccessTime);
        const double write = FileTimeToDate(data.ftLastWriteTime);
        Directory()->Add(static_cast<qint32>(data.dwFileAttributes), creation, access, write,
                         static_cast<qint32>(data.nFileSizeLow), textUpToNul(data.cFileName));
        std::fill(std::begin(data.cFileName), std::end(data.cFileName), '\0');
    } while (InternetFindNextFileA(hFind, &data));
    code = GetLastError();
    InternetCloseHandle(hFind);
    if (code == ERROR_NO_MORE_FILES)
        return Directory();
    StoreLastError(code, QStringLiteral("InternetFindNextFile"));
    return nullptr;
}

void clsFTP::SetTransferASCII() {
    m_lTransferType = FTP_TRANSFER_TYPE_ASCII;
}

void clsFTP::SetTransferBinary() {
    m_lTransferType = FTP_TRANSFER_TYPE_BINARY;
}

void clsFTP::SetModeActive() {
    m_lConnectionFlags = 0;
}

void clsFTP::SetModePassive() {
    m_lConnectionFlags = INTERNET_FLAG_PASSIVE;
}

void clsFTP::StoreLastError(DWORD lErrorCode, const QString& sContext) {
    std::array<char, 2048> buffer{};
    const DWORD zero = 0;
    kernel32::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE, kernel32::GetModuleHandleA("wininet.dll"),
                             lErrorCode, 0, buffer.data(), 256, &zero);
    QString message = sContext + QStringLiteral(" error code: ") + QString::number(lErrorCode) +
                      QStringLiteral(" Message: ") + textUpToNul(buffer.data());
    if (lErrorCode == ERROR_INTERNET_EXTENDED_ERROR) {
        DWORD error = 0;
        DWORD length = static_cast<DWORD>(buffer.size());
        InternetGetLastResponseInfoA(&error, buffer.data(), &length);
        message = textUpToNul(buffer.data());
    }
    m_sLastError = message;
    m_lLastErrorCode = lErrorCode;
    m_sLastErrorContext = sContext;
}

double clsFTP::FileTimeToDate(const FILETIME& ft) {
    FILETIME local;
    if (!kernel32::FileTimeToLocalFileTime(&ft, &local)) {
        MsgBoxDelSistema(QString::number(GetLastError()), estilo::vbOKOnly,
                         QCoreApplication::applicationName());
        return 0;
    }
    // Days since 1601-01-01, less the 109,205 days up to 1899-12-30, the origin of the date type.
    return static_cast<double>(kernel32::fileTimeTicks(local)) / 10000.0 / 86400000.0 - 109205.0;
}

bool clsFTP::EndTransfer() {
    const bool ended = InternetCloseHandle(m_hTransfer);
    m_hTransfer = nullptr;
    if (!ended)
        StoreLastError(GetLastError(), QStringLiteral("InternetCloseHandle"));
    return ended;
}

qint64 clsFTP::RemoteFileSize(const QString& sRemote, qint32* respuesta) {
    if (respuesta)
        *respuesta = 0;
    QByteArray path = aAnsi(sRemote);
    if (!path.startsWith('/')) {
        QByteArray folder(1024, '\0');
        DWORD length = 1024;
        if (!FtpGetCurrentDirectoryA(m_hConnection, folder.data(), &length))
            return -1;
        folder.truncate(length);
        path = folder + (folder.endsWith('/') ? "" : "/") + path;
    }
    // Some servers give a size in binary mode only (pyftpdlib says 550 in ASCII), and a session's type is
    // set on the server only by its first transfer.
    if (m_lTransferType == FTP_TRANSFER_TYPE_BINARY)
        FtpCommandA(m_hConnection, true, m_lTransferType, "TYPE I", 0, nullptr);
    const bool answered =
        FtpCommandA(m_hConnection, true, m_lTransferType, ("SIZE " + path).constData(), 0, nullptr);
    // A refusal is a reply too; after a time-out the last reply is an older command's.
    if (!answered && GetLastError() != wininet::ERROR_INTERNET_EXTENDED_ERROR)
        return -1;
    std::array<char, 2048> reply{};
    DWORD code = 0;
    DWORD length = static_cast<DWORD>(reply.size());
    InternetGetLastResponseInfoA(&code, reply.data(), &length);
    if (respuesta)
        *respuesta = static_cast<qint32>(code);
    bool number = false;
    const qint64 size = QByteArray(reply.data()).mid(4).trimmed().toLongLong(&number);
    return code == 213 && number ? size : -1;
}

void clsFTP::AbandonTransfer() {
    if (m_hTransfer) {
        InternetCloseHandle(m_hTransfer);
        m_hTransfer = nullptr;
    }
}
