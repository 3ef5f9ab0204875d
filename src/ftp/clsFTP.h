#pragma once
// The program's FTP client: one Internet session and one FTP connection over the WinINet layer, the
// remote file and folder operations, chunked transfers that report their progress, and folder
// listings. Operations never throw for FTP failures: each returns its success value and leaves a
// readable message in GetLastErrorMessage().

#include "ftp/cDirList.h"
#include "winapi/wininet.h"

#include <QObject>
#include <QString>
#include <memory>

class clsFTP : public QObject {
    Q_OBJECT
public:
    explicit clsFTP(QObject* parent = nullptr);
    // Releases what is still open, so that a forgotten CloseConnection leaves no login behind.
    ~clsFTP() override;

    // The list of the last successful listing; an empty one (kept from then on) when there is none.
    std::shared_ptr<cDirList> Directory();
    QString GetLastErrorMessage() const;
    // The WinINet code and the context word of the last failure recorded, for a caller that acts on how
    // an operation failed (a refusal, ERROR_INTERNET_EXTENDED_ERROR, or silence) and not only reports it.
    wininet::DWORD lastErrorCode() const { return m_lLastErrorCode; }
    const QString& lastErrorContext() const { return m_sLastErrorContext; }

    // The server is "host", "host:port", "ftp://host[:port]", "ftps://host[:port]" or a local folder.
    bool OpenConnection(const QString& sServer, const QString& sUser, const QString& sPassWord);
    void CloseConnection();

    bool SimpleFTPPutFile(const QString& sLocal, const QString& sRemote);
    bool RenameFTPFile(const QString& sExisting, const QString& sNewName);
    bool CreateFTPDirectory(const QString& sDirectory);
    bool RemoveFTPDirectory(const QString& sDirectory);
    bool DeleteFTPFile(const QString& sRemote);

    // 255 bytes at a time, raising FileTransferProgress after each full chunk and once at the end, and
    // letting waiting events run between chunks. True only when the server confirmed the whole file:
    // its reply after the last byte is where a full disk or a broken connection shows. Both paths are trimmed
    // of spaces, and a caller's variables receive the trimmed values. A local file that cannot be opened, or
    // of 2 GiB or more, gives false and leaves the last error message as it was.
    bool FTPUploadFile(QString& sLocal, QString& sRemote);
    bool FTPUploadFile(const QString& sLocal, const QString& sRemote);
    bool FTPDownloadFile(QString& sLocal, QString& sRemote);
    bool FTPDownloadFile(const QString& sLocal, const QString& sRemote);

    bool SimpleFTPGetFile(const QString& sLocal, const QString& sRemote);
    QString GetFTPDirectory();
    bool SetFTPDirectory(const QString& sDir);
    // The size the server gives for one file (its SIZE command), -1 when it cannot say. The last error
    // message is left as it was. `respuesta` gets the code of the server's reply, 0 when none came.
    qint64 RemoteFileSize(const QString& sRemote, qint32* respuesta = nullptr);
    // Size of the first match (spaces match any character), -1 when nothing matches, -2 on failure.
    // Only the low 32 bits of the size are kept.
    qint32 GetFTPFileSize(const QString& sFile);
    // Null when nothing matches or the listing failed.
    std::shared_ptr<cDirList> GetDirectoryListing(const QString& sFilter);

    void SetTransferASCII();
    void SetTransferBinary();
    // Take effect at the next OpenConnection.
    void SetModeActive();
    void SetModePassive();

    // Read before each chunk of an upload: clearing it stops sending (the upload still ends "well").
    bool blSigue() const { return m_blSigue; }
    void setBlSigue(bool valor) { m_blSigue = valor; }

signals:
    void FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes);

private:
    void StoreLastError(wininet::DWORD lErrorCode, const QString& sContext);
    double FileTimeToDate(const wininet::FILETIME& ft);
    // Ends a chunked transfer that failed, so that the connection is free for the next operation.
    void AbandonTransfer();
    // Ends one that went through, with the server's word on it.
    bool EndTransfer();

    bool m_blSigue = true;
    wininet::HINTERNET m_hSession = nullptr;
    wininet::HINTERNET m_hConnection = nullptr;
    wininet::HINTERNET m_hTransfer = nullptr;
    wininet::DWORD m_lTransferType = wininet::FTP_TRANSFER_TYPE_ASCII;
    wininet::DWORD m_lConnectionFlags = 0;
    QString m_sLastError;
    wininet::DWORD m_lLastErrorCode = 0;
    QString m_sLastErrorContext;
    std::shared_ptr<cDirList> m_Listado;
};
