#pragma once
// The few kernel32 facilities the FTP client is written around: the calling thread's last error code,
// the message texts of the Internet layer's codes (FormatMessageA over the module "wininet.dll") and
// the conversion of file times to local time.

#include <QtGlobal>

namespace kernel32 {

using DWORD = quint32;
using HMODULE = const struct ModuleTag*;

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

// Per thread, as on Windows.
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

// Only "wininet.dll" (any letter case) is known; anything else gives null and ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandleA(const char* lpModuleName);

// With FORMAT_MESSAGE_FROM_HMODULE and the wininet module: copies the code's text (ending in CR LF)
// and a NUL into lpBuffer and returns its length. The texts have no inserts, so Arguments is not read.
// Returns 0 (buffer untouched) for a code without text or a buffer too small.
DWORD FormatMessageA(DWORD dwFlags, const void* lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                     char* lpBuffer, DWORD nSize, const void* Arguments);

// UTC to local wall-clock time, with the offset in force at that instant. Fails with
// ERROR_INVALID_PARAMETER for values beyond the signed 64-bit range, as Windows does.
bool FileTimeToLocalFileTime(const FILETIME* lpFileTime, FILETIME* lpLocalFileTime);

// Conversions between FILETIME (100-nanosecond ticks since 1601-01-01 UTC) and milliseconds since
// the Unix epoch.
FILETIME fileTimeFromMSecsSinceEpoch(qint64 msecs);
quint64 fileTimeTicks(const FILETIME& ft);

} // namespace kernel32

// The system's error codes and flags keep their names. The Windows SDK makes these names macros, which no
// namespace can hold, so they stay outside one and are written unqualified; where the SDK's header came
// first its macros (of the same values) stand in their place.
#ifndef ERROR_FILE_NOT_FOUND
inline constexpr kernel32::DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr kernel32::DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr kernel32::DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr kernel32::DWORD ERROR_NO_MORE_FILES = 18;
inline constexpr kernel32::DWORD ERROR_FILE_EXISTS = 80;
inline constexpr kernel32::DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr kernel32::DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr kernel32::DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr kernel32::DWORD ERROR_MR_MID_NOT_FOUND = 317;
#endif

#ifndef FORMAT_MESSAGE_FROM_HMODULE
inline constexpr kernel32::DWORD FORMAT_MESSAGE_FROM_HMODULE = 0x800;
#endif

#ifndef GENERIC_READ
inline constexpr kernel32::DWORD GENERIC_READ = 0x80000000;
inline constexpr kernel32::DWORD GENERIC_WRITE = 0x40000000;

inline constexpr kernel32::DWORD FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr kernel32::DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr kernel32::DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr kernel32::DWORD FILE_ATTRIBUTE_NORMAL = 0x80;
#endif
