#pragma once
// Folder listings as FTP servers send them: MLSD (machine-readable, times in UTC) and, for servers
// without it, LIST in the Unix "ls -l" or the MS-DOS format. Servers give one time stamp; it fills all
// three FILETIMEs. Folders carry FILE_ATTRIBUTE_DIRECTORY, files FILE_ATTRIBUTE_NORMAL, or
// FILE_ATTRIBUTE_READONLY when the listing says they cannot be written.

#include "winapi/wininet.h"

#include <QByteArray>
#include <QDateTime>
#include <vector>

namespace wininet::detail {

// Lines that are not entries ("total 12", ".", "..", what cannot be read) are left out. `now` sets
// the year of Unix dates that give the time of day instead of the year.
std::vector<WIN32_FIND_DATAA> parseListing(const QByteArray& body, bool mlsd, const QDateTime& now);

} // namespace wininet::detail
