#pragma once
// What a connection handle does its work through: an FTP server (libcurl) or a local folder. Paths
// reaching a backend are absolute and in the ANSI code page; every call returns 0 or a WinINet code.

#include "winapi/wininet.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

namespace wininet::detail {

// A file opened by FtpOpenFileA. Destroying one that has not finished abandons it.
class Transfer {
public:
    virtual ~Transfer() = default;
    virtual DWORD write(const char* data, qint64 size) = 0;
    // Fills `data` unless the file ends first.
    virtual DWORD read(char* data, qint64 size, qint64& bytesRead) = 0;
    // Ends the transfer: an upload sends what is left and waits for the server to confirm it.
    virtual DWORD finish() = 0;
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual DWORD connect() = 0;
    virtual QByteArray currentDirectory() const = 0;
    virtual DWORD setCurrentDirectory(const QByteArray& path) = 0;
    virtual DWORD remove(const QByteArray& path) = 0;
    virtual DWORD rename(const QByteArray& from, const QByteArray& to) = 0;
    virtual DWORD makeDirectory(const QByteArray& path) = 0;
    virtual DWORD removeDirectory(const QByteArray& path) = 0;
    // One command whose reply says how it went (FtpCommandA).
    virtual DWORD command(const QByteArray& line) = 0;
    // The entries of a folder, without "." and "..".
    virtual DWORD list(const QByteArray& directory, std::vector<WIN32_FIND_DATAA>& entries) = 0;
    virtual DWORD open(const QByteArray& path, bool upload, bool binary,
                       std::unique_ptr<Transfer>& transfer) = 0;
};

std::unique_ptr<Backend> makeFtpBackend(const Target& target, const QByteArray& user,
                                        const QByteArray& password, bool passive);
std::unique_ptr<Backend> makeFolderBackend(const Target& target);

// The text InternetGetLastResponseInfoA gives on this thread: a reply with its code, lines ending CR LF.
void setLastResponse(const QByteArray& reply);

// What setCancelCheck's check answers now; false without one.
bool cancelRequested();
// Hands the count to setUploadProgress's report, if there is one.
void reportUploadProgress(qint64 bytes);

// The file set by setCaFile, in the form libcurl takes; empty for the system's store.
QByteArray caFile();

// `path` taken relative to the absolute folder `folder` (no "." or ".." resolved).
QByteArray absolutePath(const QByteArray& folder, const QByteArray& path);

// The name of an entry, cut to what cFileName holds.
void setFileName(WIN32_FIND_DATAA& entry, const QByteArray& name);

} // namespace wininet::detail
