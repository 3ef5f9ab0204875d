#pragma once
// The entries of a remote folder listing: cDirItem, one entry, and cDirList, the entries in the order
// the server delivered them, keyed by file name without regard to letter case.

#include <QHash>
#include <QString>
#include <vector>

struct cDirItem {
    bool ReadOnly = false;
    bool Hidden = false;
    bool System = false;
    bool Directory = false;
    bool Archive = false;
    bool Normal = false;
    bool Temporary = false;
    bool Compressed = false;
    bool Offline = false;
    // OLE Automation dates: days since 30 December 1899 00:00, the time of day as the fraction.
    double CreationTime = 0;
    double LastAccessTime = 0;
    double LastWriteTime = 0;
    qint32 FileSize = 0; // the low 32 bits of the size: a file of 2 GiB or more reads wrong
    QString Filename;
};

class cDirList {
public:
    // A name already present (in any letter case) keeps its first entry; the later one is dropped.
    void Add(qint32 lAttrib, double dtCreationTime, double dtLastAccessTime, double dtLastWriteTime,
             qint32 lFileSize, const QString& sFilename);
    void Clear();
    // By 1-based position or by name; one that is not there throws std::out_of_range.
    const cDirItem& Item(qint32 Index) const;
    const cDirItem& Item(const QString& Index) const;
    qint32 Count() const;

    // For range-for over the entries, in order.
    std::vector<cDirItem>::const_iterator begin() const { return items.begin(); }
    std::vector<cDirItem>::const_iterator end() const { return items.end(); }

private:
    std::vector<cDirItem> items;
    QHash<QString, qint32> positions; // case-folded name to index in items
};
