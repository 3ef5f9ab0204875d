#include "ftp/cDirList.h"

#include <stdexcept>

void cDirList::Add(qint32 lAttrib, double dtCreationTime, double dtLastAccessTime, double dtLastWriteTime,
                   qint32 lFileSize, const QString& sFilename) {
    const QString key = sFilename.toCaseFolded();
    if (positions.contains(key))
        return;
    cDirItem item;
    item.ReadOnly = lAttrib & 0x1;
    item.Hidden = lAttrib & 0x2;
    item.System = lAttrib & 0x4;
    item.Directory = lAttrib & 0x10;
    item.Archive = lAttrib & 0x20;
    item.Normal = lAttrib & 0x80;
    item.Temporary = lAttrib & 0x100;
    item.Compressed = lAttrib & 0x800;
    item.Offline = lAttrib & 0x1000;
    item.CreationTime = dtCreationTime;
    item.LastAccessTime = dtLastAccessTime;
    item.LastWriteTime = dtLastWriteTime;
    item.FileSize = lFileSize;
    item.Filename = sFilename;
    positions.insert(key, static_cast<qint32>(items.size()));
    items.push_back(item);
}

void cDirList::Clear() {
    items.clear();
    positions.clear();
}

const cDirItem& cDirList::Item(qint32 Index) const {
    if (Index < 1 || Index > Count())
        throw std::out_of_range("cDirList: no hay un elemento en la posición " + std::to_string(Index));
    return items[static_cast<size_t>(Index - 1)];
}

const cDirItem& cDirList::Item(const QString& Index) const {
    const auto it = positions.constFind(Index.toCaseFolded());
    if (it == positions.constEnd())
        throw std::out_of_range("cDirList: no hay un elemento llamado " + Index.toStdString());
    return items[static_cast<size_t>(*it)];
}

qint32 cDirList::Count() const {
    return static_cast<qint32>(items.size());
}
