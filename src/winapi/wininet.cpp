#include "winapi/wininet.h"

#include "winapi/ansi.h"
#include "winapi/wininet_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>
#include <cstring>
#include <map>

namespace wininet {

using kernel32::SetLastError;
using namespace detail;

namespace {

thread_local QByteArray lastResponse;
thread_local std::function<bool()> cancelCheck;
thread_local std::function<void(qint64)> uploadProgress;
Limits currentLimits;
QString trustedCaFile;

// Handles live in one table, used by one thread at a time: the desktop program sends on a thread of its
// own, one send after the other. Ids only grow, so a closed handle never comes back to life as another one.
struct Handle {
    enum class Kind { Session, Connection, File, Find };
    explicit Handle(Kind kind, quintptr parent = 0) : kind(kind), parent(parent) {}
    Kind kind;
    quintptr parent;
    std::unique_ptr<Backend> backend;    // Connection
    bool busy = false;                   // Connection: a file of it is open
    std::unique_ptr<Transfer> transfer;  // File
    bool writing = false;                // File
    std::vector<WIN32_FIND_DATAA> found; // Find: the entries not handed out yet
    size_t next = 0;
};

std::map<quintptr, std::unique_ptr<Handle>>& handles() {
    static std::map<quintptr, std::unique_ptr<Handle>> table;
    return table;
}

HINTERNET add(std::unique_ptr<Handle> handle) {
    static quintptr lastId = 0;
    handles()[++lastId] = std::move(handle);
    return reinterpret_cast<HINTERNET>(lastId);
}

quintptr idOf(HINTERNET h) {
    return reinterpret_cast<quintptr>(h);
}

Handle* find(HINTERNET h, Handle::Kind kind) {
    const auto it = handles().find(idOf(h));
    if (it == handles().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (it->second->kind != kind) {
        SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
        return nullptr;
    }
    return it->second.get();
}

// A connection free for a new operation.
Backend* connection(HINTERNET h) {
    Handle* c = find(h, Handle::Kind::Connection);
    if (c && c->busy) {
        SetLastError(ERROR_FTP_TRANSFER_IN_PROGRESS);
        return nullptr;
    }
    return c ? c->backend.get() : nullptr;
}

bool report(DWORD error) {
    if (error)
        SetLastError(error);
    return error == 0;
}

bool invalidParameter() {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

QByteArray absolute(Backend& backend, const char* path) {
    return absolutePath(backend.currentDirectory(), path);
}

// Closes a handle and, first, every handle opened under it. Files closed with their parent are
// abandoned; a file closed by itself ends its transfer properly.
DWORD close(quintptr id, bool byItself) {
    std::vector<quintptr> children;
    for (const auto& [childId, child] : handles())
        if (child->parent == id)
            children.push_back(childId);
    for (const quintptr child : children)
        close(child, false);
    const auto it = handles().find(id);
    DWORD error = 0;
    if (it->second->kind == Handle::Kind::File) {
        if (byItself)
            error = it->second->transfer->finish();
        if (const auto parent = handles().find(it->second->parent); parent != handles().end())
            parent->second->busy = false;
    }
    handles().erase(it);
    return error;
}

// "*" any run of characters, "?" any one character; "*.*" is every name, as on Windows.
bool matches(const char* pattern, const char* name) {
    if (std::strcmp(pattern, "*.*") == 0)
        return true;
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || *pattern == *name) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == 0;
}

bool copyOut(const QByteArray& text, char* buffer, DWORD* length) {
    if (!buffer || !length || *length <= static_cast<DWORD>(text.size())) {
        if (length)
            *length = static_cast<DWORD>(text.size() + 1);
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    std::memcpy(buffer, text.constData(), static_cast<size_t>(text.size()) + 1);
    *length = static_cast<DWORD>(text.size());
    return true;
}

bool isBinary(DWORD flags) {
    return (flags & 3) != FTP_TRANSFER_TYPE_ASCII;
}

} // namespace

namespace detail {

void setLastResponse(const QByteArray& reply) {
    lastResponse = reply;
}

bool cancelRequested() {
    return cancelCheck && cancelCheck();
}

void reportUploadProgress(qint64 bytes) {
    if (uploadProgress)
        uploadProgress(bytes);
}

QByteArray caFile() {
    return QFile::encodeName(trustedCaFile);
}

QByteArray absolutePath(const QByteArray& folder, const QByteArray& path) {
    if (path.startsWith('/'))
        return path;
    if (path.isEmpty())
        return folder;
    return folder + (folder.endsWith('/') ? "" : "/") + path;
}

void setFileName(WIN32_FIND_DATAA& entry, const QByteArray& name) {
    const auto size = std::min<size_t>(static_cast<size_t>(name.size()), sizeof entry.cFileName - 1);
    std::memset(entry.cFileName, 0, sizeof entry.cFileName);
    std::memcpy(entry.cFileName, name.constData(), size);
}

} // namespace detail

DWORD parseTarget(const QString& server, INTERNET_PORT port, Target& target) {
    QString rest = server;
    const qsizetype scheme = server.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        const QString name = server.left(scheme).toLower();
        if (name == QLatin1String("file")) {
            target.kind = Target::Kind::Folder;
            target.folder = QUrl(server).toLocalFile();
            return target.folder.isEmpty() ? ERROR_INTERNET_INVALID_URL : 0;
        }
        if (name != QLatin1String("ftp") && name != QLatin1String("ftps"))
            return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
        target.kind = name == QLatin1String("ftps") ? Target::Kind::Ftps : Target::Kind::Ftp;
        rest = server.mid(scheme + 3);
        if (rest.endsWith(QLatin1Char('/')))
            rest.chop(1);
        if (rest.contains(QLatin1Char('/')))
            return ERROR_INTERNET_INVALID_URL;
    } else if (QDir::isAbsolutePath(server)) {
        target.kind = Target::Kind::Folder;
        target.folder = server;
        return 0;
    }

    // host, host:port, [v6], [v6]:port; a v6 literal without brackets takes no port.
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype end = rest.indexOf(QLatin1Char(']'));
        if (end < 0)
            return ERROR_INTERNET_INVALID_URL;
        portText = rest.mid(end + 1);
        if (!portText.isEmpty() && !portText.startsWith(QLatin1Char(':')))
            return ERROR_INTERNET_INVALID_URL;
        portText = portText.mid(1);
        rest = rest.mid(1, end - 1);
    } else if (rest.count(QLatin1Char(':')) == 1) {
        portText = rest.mid(rest.indexOf(QLatin1Char(':')) + 1);
        rest.truncate(rest.indexOf(QLatin1Char(':')));
    }
    bool valid = true;
    const uint number = portText.isEmpty() ? (port ? port : 21u) : portText.toUInt(&valid);
    if (rest.isEmpty() || !valid || number == 0 || number > 65535)
        return ERROR_INTERNET_INVALID_URL;
    target.host = aAnsi(rest);
    target.port = static_cast<quint16>(number);
    return 0;
}

void setLimits(const Limits& limits) {
    currentLimits = limits;
}

Limits limits() {
    return currentLimits;
}

void setCancelCheck(std::function<bool()> check) {
    cancelCheck = std::move(check);
}

void setUploadProgress(std::function<void(qint64)> report) {
    uploadProgress = std::move(report);
}

void setCaFile(const QString& path) {
    trustedCaFile = path;
}

bool InternetAutodial(DWORD /*dwFlags*/, void* /*hwndParent*/) {
    return true;
}

HINTERNET InternetOpenA(const char* /*lpszAgent*/, DWORD /*dwAccessType*/, const char* /*lpszProxy*/,
                        const char* /*lpszProxyBypass*/, DWORD /*dwFlags*/) {
    return add(std::make_unique<Handle>(Handle::Kind::Session));
}

HINTERNET InternetConnectA(HINTERNET hInternet, const char* lpszServerName, INTERNET_PORT nServerPort,
                           const char* lpszUserName, const char* lpszPassword, DWORD dwService, DWORD dwFlags,
                           quintptr /*dwContext*/) {
    if (!find(hInternet, Handle::Kind::Session))
        return nullptr;
    if (dwService != INTERNET_SERVICE_FTP || !lpszServerName) {
        invalidParameter();
        return nullptr;
    }
    Target target;
    if (const DWORD error = parseTarget(desdeAnsi(lpszServerName), nServerPort, target)) {
        SetLastError(error);
        return nullptr;
    }
    const QByteArray user = lpszUserName && *lpszUserName ? lpszUserName : "anonymous";
    auto handle = std::make_unique<Handle>(Handle::Kind::Connection, idOf(hInternet));
    handle->backend = target.kind == Target::Kind::Folder
                          ? makeFolderBackend(target)
                          : makeFtpBackend(target, user, lpszPassword ? lpszPassword : "",
                                           (dwFlags & INTERNET_FLAG_PASSIVE) != 0);
    if (const DWORD error = handle->backend->connect()) {
        SetLastError(error);
        return nullptr;
    }
    return add(std::move(handle));
}

bool InternetCloseHandle(HINTERNET hInternet) {
    if (handles().find(idOf(hInternet)) == handles().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return report(close(idOf(hInternet), true));
}

bool FtpPutFileA(HINTERNET hConnect, const char* lpszLocalFile, const char* lpszNewRemoteFile, DWORD dwFlags,
                 quintptr /*dwContext*/) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    if (!lpszLocalFile || !lpszNewRemoteFile)
        return invalidParameter();
    QFile local(desdeAnsi(lpszLocalFile));
    if (!local.open(QIODevice::ReadOnly))
        return report(local.exists() ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
    std::unique_ptr<Transfer> transfer;
    if (!report(ftp->open(absolute(*ftp, lpszNewRemoteFile), true, isBinary(dwFlags), transfer)))
        return false;
    QByteArray block;
    while (!(block = local.read(1 << 20)).isEmpty())
        if (!report(transfer->write(block.constData(), block.size())))
            return false;
    return report(transfer->finish());
}

bool FtpGetFileA(HINTERNET hConnect, const char* lpszRemoteFile, const char* lpszNewFile, bool fFailIfExists,
                 DWORD /*dwFlagsAndAttributes*/, DWORD dwFlags, quintptr /*dwContext*/) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    if (!lpszRemoteFile || !lpszNewFile)
        return invalidParameter();
    const QString localName = desdeAnsi(lpszNewFile);
    if (fFailIfExists && QFileInfo::exists(localName))
        return report(ERROR_FILE_EXISTS);
    QSaveFile local(localName);
    if (!local.open(QIODevice::WriteOnly))
        return report(ERROR_ACCESS_DENIED);
    std::unique_ptr<Transfer> transfer;
    if (!report(ftp->open(absolute(*ftp, lpszRemoteFile), false, isBinary(dwFlags), transfer)))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 got = 1; got > 0;) {
        if (!report(transfer->read(block.data(), block.size(), got)))
            return false;
        if (local.write(block.constData(), got) != got)
            return report(ERROR_ACCESS_DENIED);
    }
    if (!report(transfer->finish()))
        return false;
    return (local.flush() && local.commit()) || report(ERROR_ACCESS_DENIED);
}

bool FtpRenameFileA(HINTERNET hConnect, const char* lpszExisting, const char* lpszNew) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    if (!lpszExisting || !lpszNew)
        return invalidParameter();
    return report(ftp->rename(absolute(*ftp, lpszExisting), absolute(*ftp, lpszNew)));
}

bool FtpCreateDirectoryA(HINTERNET hConnect, const char* lpszDirectory) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    return lpszDirectory ? report(ftp->makeDirectory(absolute(*ftp, lpszDirectory))) : invalidParameter();
}

bool FtpRemoveDirectoryA(HINTERNET hConnect, const char* lpszDirectory) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    return lpszDirectory ? report(ftp->removeDirectory(absolute(*ftp, lpszDirectory))) : invalidParameter();
}

bool FtpDeleteFileA(HINTERNET hConnect, const char* lpszFileName) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    return lpszFileName ? report(ftp->remove(absolute(*ftp, lpszFileName))) : invalidParameter();
}

HINTERNET FtpOpenFileA(HINTERNET hConnect, const char* lpszFileName, DWORD dwAccess, DWORD dwFlags,
                       quintptr /*dwContext*/) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return nullptr;
    const bool writing = dwAccess == GENERIC_WRITE;
    if (!lpszFileName || (!writing && dwAccess != GENERIC_READ)) {
        invalidParameter();
        return nullptr;
    }
    auto handle = std::make_unique<Handle>(Handle::Kind::File, idOf(hConnect));
    handle->writing = writing;
    if (!report(ftp->open(absolute(*ftp, lpszFileName), writing, isBinary(dwFlags), handle->transfer)))
        return nullptr;
    find(hConnect, Handle::Kind::Connection)->busy = true;
    return add(std::move(handle));
}

bool InternetWriteFile(HINTERNET hFile, const void* lpBuffer, DWORD dwNumberOfBytesToWrite,
                       DWORD* lpdwNumberOfBytesWritten) {
    Handle* file = find(hFile, Handle::Kind::File);
    if (lpdwNumberOfBytesWritten)
        *lpdwNumberOfBytesWritten = 0;
    if (!file)
        return false;
    if (!file->writing || !lpBuffer)
        return report(ERROR_ACCESS_DENIED);
    if (!report(file->transfer->write(static_cast<const char*>(lpBuffer), dwNumberOfBytesToWrite)))
        return false;
    if (lpdwNumberOfBytesWritten)
        *lpdwNumberOfBytesWritten = dwNumberOfBytesToWrite;
    return true;
}

bool InternetReadFile(HINTERNET hFile, void* lpBuffer, DWORD dwNumberOfBytesToRead,
                      DWORD* lpdwNumberOfBytesRead) {
    Handle* file = find(hFile, Handle::Kind::File);
    if (lpdwNumberOfBytesRead)
        *lpdwNumberOfBytesRead = 0;
    if (!file)
        return false;
    if (file->writing || !lpBuffer)
        return report(ERROR_ACCESS_DENIED);
    qint64 got = 0;
    if (!report(file->transfer->read(static_cast<char*>(lpBuffer), dwNumberOfBytesToRead, got)))
        return false;
    if (lpdwNumberOfBytesRead)
        *lpdwNumberOfBytesRead = static_cast<DWORD>(got);
    return true;
}

bool FtpGetCurrentDirectoryA(HINTERNET hConnect, char* lpszCurrentDirectory, DWORD* lpdwCurrentDirectory) {
    Backend* ftp = connection(hConnect);
    return ftp && copyOut(ftp->currentDirectory(), lpszCurrentDirectory, lpdwCurrentDirectory);
}

bool FtpSetCurrentDirectoryA(HINTERNET hConnect, const char* lpszDirectory) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    return lpszDirectory ? report(ftp->setCurrentDirectory(absolute(*ftp, lpszDirectory)))
                         : invalidParameter();
}

HINTERNET FtpFindFirstFileA(HINTERNET hConnect, const char* lpszSearchFile, WIN32_FIND_DATAA* lpFindFileData,
                            DWORD /*dwFlags*/, quintptr /*dwContext*/) {
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return nullptr;
    if (!lpFindFileData) {
        invalidParameter();
        return nullptr;
    }
    // "folder/pattern": the folder is listed and its names filtered.
    const QByteArray search = lpszSearchFile ? lpszSearchFile : "";
    const qsizetype slash = search.lastIndexOf('/');
    QByteArray pattern = search.mid(slash + 1);
    if (pattern.isEmpty())
        pattern = "*";
    const QByteArray folder = slash == 0 ? QByteArray("/") : search.left(std::max<qsizetype>(slash, 0));
    std::vector<WIN32_FIND_DATAA> entries;
    if (!report(ftp->list(absolutePath(ftp->currentDirectory(), folder), entries)))
        return nullptr;
    auto handle = std::make_unique<Handle>(Handle::Kind::Find, idOf(hConnect));
    for (const WIN32_FIND_DATAA& entry : entries)
        if (matches(pattern.constData(), entry.cFileName))
            handle->found.push_back(entry);
    if (handle->found.empty()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return nullptr;
    }
    *lpFindFileData = handle->found.front();
    handle->next = 1;
    return add(std::move(handle));
}

bool InternetFindNextFileA(HINTERNET hFind, void* lpvFindData) {
    Handle* found = find(hFind, Handle::Kind::Find);
    if (!found)
        return false;
    if (!lpvFindData)
        return invalidParameter();
    if (found->next >= found->found.size())
        return report(ERROR_NO_MORE_FILES);
    *static_cast<WIN32_FIND_DATAA*>(lpvFindData) = found->found[found->next++];
    return true;
}

bool InternetGetLastResponseInfoA(DWORD* lpdwError, char* lpszBuffer, DWORD* lpdwBufferLength) {
    if (lpdwError)
        *lpdwError = static_cast<DWORD>(lastResponse.left(3).toUInt());
    return copyOut(lastResponse, lpszBuffer, lpdwBufferLength);
}

bool FtpCommandA(HINTERNET hConnect, bool /*fExpectResponse*/, DWORD /*dwFlags*/, const char* lpszCommand,
                 quintptr /*dwContext*/, HINTERNET* phFtpCommand) {
    if (phFtpCommand)
        *phFtpCommand = nullptr;
    Backend* ftp = connection(hConnect);
    if (!ftp)
        return false;
    return lpszCommand ? report(ftp->command(lpszCommand)) : invalidParameter();
}

} // namespace wininet
