#pragma once
// The WinINet FTP functions the FTP client is written around, with their names and argument order,
// over libcurl (and over the file system when the target is a local folder). Handles are objects kept
// in a table, so a closed or foreign handle fails with ERROR_INVALID_HANDLE instead of crashing; closing
// a handle closes the handles opened under it. Every failure leaves the calling thread's last error code
// (kernel32::GetLastError) at WinINet's own code; a negative reply of the server is
// ERROR_INTERNET_EXTENDED_ERROR, whose text InternetGetLastResponseInfoA gives.
//
// The server name of InternetConnectA may also be "host:port", "ftp://host[:port]",
// "ftps://host[:port]" (explicit TLS on both channels, certificate checked) or a local folder
// ("file:///…" or an absolute path); a bare host is plain FTP on port 21 or nServerPort.
//
// A connection handle keeps one logged-in control connection and reuses it for every operation; it
// tracks the current folder itself and hands the server absolute paths. A file opened with
// FtpOpenFileA keeps the connection busy (ERROR_FTP_TRANSFER_IN_PROGRESS) until it is closed; its writes
// are buffered and go to the server in large blocks, and its close waits for the server's confirmation.

#include "winapi/kernel32.h"

#include <QString>
#include <chrono>
#include <functional>

namespace wininet {

using kernel32::DWORD;
using kernel32::FILETIME;
using HINTERNET = struct InternetHandleTag*;
using INTERNET_PORT = quint16;

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwReserved0 = 0;
    DWORD dwReserved1 = 0;
    char cFileName[260] = {};
    char cAlternateFileName[14] = {};
};

inline constexpr DWORD INTERNET_AUTODIAL_FORCE_ONLINE = 1;
inline constexpr DWORD INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr INTERNET_PORT INTERNET_INVALID_PORT_NUMBER = 0;
inline constexpr DWORD INTERNET_SERVICE_FTP = 1;
inline constexpr DWORD INTERNET_FLAG_PASSIVE = 0x08000000;
inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr DWORD FTP_TRANSFER_TYPE_ASCII = 1;
inline constexpr DWORD FTP_TRANSFER_TYPE_BINARY = 2;

inline constexpr DWORD ERROR_INTERNET_TIMEOUT = 12002;
inline constexpr DWORD ERROR_INTERNET_EXTENDED_ERROR = 12003;
inline constexpr DWORD ERROR_INTERNET_INTERNAL_ERROR = 12004;
inline constexpr DWORD ERROR_INTERNET_INVALID_URL = 12005;
inline constexpr DWORD ERROR_INTERNET_UNRECOGNIZED_SCHEME = 12006;
inline constexpr DWORD ERROR_INTERNET_NAME_NOT_RESOLVED = 12007;
inline constexpr DWORD ERROR_INTERNET_OPERATION_CANCELLED = 12017;
inline constexpr DWORD ERROR_INTERNET_INCORRECT_HANDLE_TYPE = 12018;
inline constexpr DWORD ERROR_INTERNET_CANNOT_CONNECT = 12029;
inline constexpr DWORD ERROR_INTERNET_CONNECTION_ABORTED = 12030;
inline constexpr DWORD ERROR_INTERNET_INVALID_CA = 12045;
inline constexpr DWORD ERROR_FTP_TRANSFER_IN_PROGRESS = 12110;
inline constexpr DWORD ERROR_FTP_NO_PASSIVE_MODE = 12112;
inline constexpr DWORD ERROR_INTERNET_SECURITY_CHANNEL_ERROR = 12157;

// There is no dial-up to bring up: always true.
bool InternetAutodial(DWORD dwFlags, void* hwndParent);

HINTERNET InternetOpenA(const char* lpszAgent, DWORD dwAccessType, const char* lpszProxy,
                        const char* lpszProxyBypass, DWORD dwFlags);
// Connects and logs in before returning, like WinINet's FTP service.
HINTERNET InternetConnectA(HINTERNET hInternet, const char* lpszServerName, INTERNET_PORT nServerPort,
                           const char* lpszUserName, const char* lpszPassword, DWORD dwService, DWORD dwFlags,
                           quintptr dwContext);
// Closing a file handle of an upload sends what is still buffered and waits for the server's reply: it
// returns false, with the code, when the upload did not end well.
bool InternetCloseHandle(HINTERNET hInternet);

bool FtpPutFileA(HINTERNET hConnect, const char* lpszLocalFile, const char* lpszNewRemoteFile, DWORD dwFlags,
                 quintptr dwContext);
// The local file is replaced only when the whole remote file has arrived.
bool FtpGetFileA(HINTERNET hConnect, const char* lpszRemoteFile, const char* lpszNewFile, bool fFailIfExists,
                 DWORD dwFlagsAndAttributes, DWORD dwFlags, quintptr dwContext);
bool FtpRenameFileA(HINTERNET hConnect, const char* lpszExisting, const char* lpszNew);
bool FtpCreateDirectoryA(HINTERNET hConnect, const char* lpszDirectory);
bool FtpRemoveDirectoryA(HINTERNET hConnect, const char* lpszDirectory);
bool FtpDeleteFileA(HINTERNET hConnect, const char* lpszFileName);

HINTERNET FtpOpenFileA(HINTERNET hConnect, const char* lpszFileName, DWORD dwAccess, DWORD dwFlags,
                       quintptr dwContext);
bool InternetWriteFile(HINTERNET hFile, const void* lpBuffer, DWORD dwNumberOfBytesToWrite,
                       DWORD* lpdwNumberOfBytesWritten);
// Fills the buffer unless the file ends first; 0 bytes read means the end of the file.
bool InternetReadFile(HINTERNET hFile, void* lpBuffer, DWORD dwNumberOfBytesToRead,
                      DWORD* lpdwNumberOfBytesRead);

bool FtpGetCurrentDirectoryA(HINTERNET hConnect, char* lpszCurrentDirectory, DWORD* lpdwCurrentDirectory);
bool FtpSetCurrentDirectoryA(HINTERNET hConnect, const char* lpszDirectory);

// The pattern is a path whose last part may hold the wildcards "*" and "?" ("*.*" matches every
// name); a pattern that is empty or ends in "/" lists that folder. Matching is by the server's rules
// for letter case (exact). No match: null and ERROR_NO_MORE_FILES.
HINTERNET FtpFindFirstFileA(HINTERNET hConnect, const char* lpszSearchFile, WIN32_FIND_DATAA* lpFindFileData,
                            DWORD dwFlags, quintptr dwContext);
bool InternetFindNextFileA(HINTERNET hFind, void* lpvFindData);

// The last reply the server sent on this thread, every line with its code and CR LF.
bool InternetGetLastResponseInfoA(DWORD* lpdwError, char* lpszBuffer, DWORD* lpdwBufferLength);

// Sends one command on the connection; its reply is what InternetGetLastResponseInfoA gives, and a
// negative one fails with ERROR_INTERNET_EXTENDED_ERROR. No command that opens a data connection. A
// local folder answers "SIZE <path>" alone.
bool FtpCommandA(HINTERNET hConnect, bool fExpectResponse, DWORD dwFlags, const char* lpszCommand,
                 quintptr dwContext, HINTERNET* phFtpCommand);

// Where a server setting points: beyond WinINet's bare host (plain FTP, port 21), "host:port",
// "ftp://host[:port]", "ftps://host[:port]" (explicit TLS) or a local folder ("file:///..." or an absolute
// path). InternetConnectA connects to it; the settings' checks look at it too.
struct Target {
    enum class Kind { Ftp, Ftps, Folder };
    Kind kind = Kind::Ftp;
    QByteArray host; // in the ANSI code page, without brackets for an IPv6 literal
    quint16 port = 21;
    QString folder; // Kind::Folder
};
// 0, or ERROR_INTERNET_UNRECOGNIZED_SCHEME or ERROR_INTERNET_INVALID_URL for a setting that points
// nowhere. `port`: the one to take when the setting names none; 0 for FTP's own.
DWORD parseTarget(const QString& server, INTERNET_PORT port, Target& target);

// How long the layer waits. Tests shorten them.
struct Limits {
    std::chrono::seconds connect{30}; // to connect and log in
    std::chrono::seconds reply{60};   // for any reply, the one that ends a transfer included
    // For a data transfer in which nothing moves: no byte received, and none of an upload acknowledged
    // by the server. A slow line that keeps moving never reaches it. 0: the same as `reply`.
    std::chrono::seconds stall{0};
};
void setLimits(const Limits& limits);
Limits limits();

// What the waits of the layer look at, on the thread that set it, to end early (a program that is
// ending cannot wait for a slow server): once it answers true, a data transfer under way fails at once
// with ERROR_INTERNET_OPERATION_CANCELLED, and every other operation gets a few seconds at most, enough to
// remove what an abandoned upload left on the server. Empty (the default): nothing ends early.
void setCancelCheck(std::function<bool()> check);

// Told, on the thread that set it, how many bytes of the upload under way have reached the server: 0 when
// the upload opens, then as they arrive, also while closing the upload waits for the last of them. An FTP
// server has them once it has acknowledged them (on Linux; elsewhere once the socket has taken them), a
// local folder once they are written. Empty (the default): nobody is told.
void setUploadProgress(std::function<void(qint64 bytes)> report);

// A PEM file of certificate authorities to trust instead of the system's store (tests with a
// certificate made for the run). Empty: the system's store.
void setCaFile(const QString& path);

} // namespace wininet
