// The local-folder backend: the folder plays the server's root "/". A refusal is told the way a server
// would tell it, as a reply with its code (ERROR_INTERNET_EXTENDED_ERROR), so the caller reads it alike.

#include "winapi/ansi.h"
#include "winapi/wininet_backend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <filesystem>

namespace wininet::detail {
namespace {

DWORD refuse(const char* code, const QByteArray& path, const char* why) {
    setLastResponse(QByteArray(code) + ' ' + path + aAnsi(QString::fromUtf8(why)) + "\r\n");
    return ERROR_INTERNET_EXTENDED_ERROR;
}

// "/a/./b/../c" to "/a/c"; ".." never climbs above the root.
QByteArray normalise(const QByteArray& path) {
    QList<QByteArray> parts;
    for (const QByteArray& part : path.split('/')) {
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (!part.isEmpty() && part != ".") {
            parts.append(part);
        }
    }
    return '/' + parts.join('/');
}

FILETIME fileTime(const QDateTime& t) {
    return t.isValid() ? kernel32::fileTimeFromMSecsSinceEpoch(t.toMSecsSinceEpoch()) : FILETIME{};
}

class FolderTransfer : public Transfer {
public:
    FolderTransfer(const QString& file, const QByteArray& path, bool upload) : path(path) {
        if (upload)
            device = std::make_unique<QSaveFile>(file);
        else
            device = std::make_unique<QFile>(file);
    }

    bool open(bool upload) {
        if (!device->open(upload ? QIODevice::WriteOnly : QIODevice::ReadOnly))
            return false;
        if (upload)
            reportUploadProgress(0);
        return true;
    }

    DWORD write(const char* data, qint64 size) override {
        if (device->write(data, size) != size)
            return refuse("451", path, ": no se pudo escribir el archivo.");
        reportUploadProgress(device->pos());
        return 0;
    }

    DWORD read(char* data, qint64 size, qint64& bytesRead) override {
        bytesRead = std::max<qint64>(device->read(data, size), 0);
        return 0;
    }

    // An upload replaces the file only now, whole; commit() alone misses a failed last flush (full disk).
    DWORD finish() override {
        if (auto* saved = qobject_cast<QSaveFile*>(device.get()))
            return saved->flush() && saved->commit()
                       ? 0
                       : refuse("451", path, ": no se pudo escribir el archivo.");
        device->close();
        return 0;
    }

private:
    std::unique_ptr<QFileDevice> device;
    const QByteArray path;
};

class FolderBackend : public Backend {
public:
    explicit FolderBackend(const QString& folder) : root(withoutLastSlash(folder)) {}

    DWORD connect() override {
        if (!QFileInfo(local("/")).isDir())
            return refuse("550", aAnsi(QDir::toNativeSeparators(root)),
                          ": no existe la carpeta de publicación.");
        return 0;
    }

    QByteArray currentDirectory() const override { return cwd; }

    DWORD setCurrentDirectory(const QByteArray& path) override {
        if (!QFileInfo(local(path)).isDir())
            return refuse("550", path, ": no existe la carpeta.");
        cwd = normalise(path);
        return 0;
    }

    DWORD remove(const QByteArray& path) override {
        const QFileInfo file(local(path));
        return file.isFile() && QFile::remove(file.filePath())
                   ? 0
                   : refuse("550", path, ": no se pudo borrar el archivo.");
    }

    // Onto an existing file too, in one step, as FTP servers do: whoever reads the new name finds the old
    // file or the new one, never nothing.
    DWORD rename(const QByteArray& from, const QByteArray& to) override {
        std::error_code error;
        if (QFileInfo::exists(local(from)))
            std::filesystem::rename(native(local(from)), native(local(to)), error);
        else
            error = std::make_error_code(std::errc::no_such_file_or_directory);
        return error ? refuse("550", from, ": no se pudo cambiar el nombre.") : 0;
    }

    DWORD makeDirectory(const QByteArray& path) override {
        return QDir().mkdir(local(path)) ? 0 : refuse("550", path, ": no se pudo crear la carpeta.");
    }

    DWORD removeDirectory(const QByteArray& path) override {
        return normalise(path) != "/" && QDir().rmdir(local(path))
                   ? 0
                   : refuse("550", path, ": no se pudo borrar la carpeta.");
    }

    DWORD command(const QByteArray& line) override {
        const QByteArray verb = line.left(line.indexOf(' ')).toUpper();
        if (verb != "SIZE")
            return refuse("502", verb, ": orden no implementada.");
        const QByteArray path = line.mid(5);
        const QFileInfo file(local(absolutePath(cwd, path)));
        if (!file.isFile())
            return refuse("550", path, ": no se encuentra el archivo.");
        setLastResponse("213 " + QByteArray::number(file.size()) + "\r\n");
        return 0;
    }

    DWORD list(const QByteArray& directory, std::vector<WIN32_FIND_DATAA>& entries) override {
        const QDir dir(local(directory));
        if (!dir.exists())
            return refuse("550", directory, ": no existe la carpeta.");
        entries.clear();
        const auto infos = dir.entryInfoList(
            QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
        for (const QFileInfo& info : infos) {
            WIN32_FIND_DATAA data;
            data.dwFileAttributes = info.isDir()         ? FILE_ATTRIBUTE_DIRECTORY
                                    : !info.isWritable() ? FILE_ATTRIBUTE_READONLY
                                                         : FILE_ATTRIBUTE_NORMAL;
            if (info.isHidden())
                data.dwFileAttributes |= FILE_ATTRIBUTE_HIDDEN;
            data.ftLastWriteTime = fileTime(info.lastModified());
            data.ftCreationTime =
                info.birthTime().isValid() ? fileTime(info.birthTime()) : data.ftLastWriteTime;
            data.ftLastAccessTime = fileTime(info.lastRead());
            const auto size = static_cast<quint64>(info.isDir() ? 0 : info.size());
            data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
            data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
            setFileName(data, aAnsi(info.fileName()));
            entries.push_back(data);
        }
        return 0;
    }

    DWORD open(const QByteArray& path, bool upload, bool /*binary*/,
               std::unique_ptr<Transfer>& transfer) override {
        auto opened = std::make_unique<FolderTransfer>(local(path), path, upload);
        if (!opened->open(upload))
            return upload ? refuse("553", path, ": no se pudo crear el archivo.")
                          : refuse("550", path, ": no se encuentra el archivo.");
        transfer = std::move(opened);
        return 0;
    }

private:
    // Paths append to the root, so the root of a drive ("/", "C:/") loses its slash.
    static QString withoutLastSlash(const QString& folder) {
        QString clean = QDir::cleanPath(folder);
        if (clean.endsWith(u'/'))
            clean.chop(1);
        return clean;
    }

    QString local(const QByteArray& path) const { return root + desdeAnsi(normalise(path)); }
    static std::filesystem::path native(const QString& file) { return file.toStdU16String(); }

    const QString root;
    QByteArray cwd = "/";
};

} // namespace

std::unique_ptr<Backend> makeFolderBackend(const Target& target) {
    return std::make_unique<FolderBackend>(target.folder);
}

} // namespace wininet::detail
