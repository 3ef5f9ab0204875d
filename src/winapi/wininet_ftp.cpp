// The FTP backend: one libcurl easy handle per connection, driven through a multi handle from the
// calling thread, so that the control connection stays logged in from one operation to the next and a
// file transfer can stop between two calls of the program without blocking it.

#include "winapi/wininet_backend.h"
#include "winapi/wininet_listing.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <curl/curl.h>
#include <functional>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <linux/sockios.h>
#include <poll.h>
#include <sys/ioctl.h>
#endif

namespace wininet::detail {
namespace {

// Uploads go to libcurl in blocks of this size; once kHighWater waits unsent, the writer waits.
constexpr qsizetype kBlock = 256 * 1024;
constexpr qsizetype kHighWater = 4 * kBlock;
// However slow the server was seen to read, the wait for its closing reply grows by no more than this.
constexpr std::chrono::minutes kMostDrain{30};

// How fast the server takes an upload's bytes, and so how long it still needs for those it has
// acknowledged and not yet read once the last one has left: the system's buffers on both sides take
// hundreds of kilobytes at once, which a server reading 1 KB/s works through for minutes before it can
// confirm the file. The pace is taken over at least the last half of the transfer, leaving out the first
// moments, when the buffers fill at the line's speed; two marks that move as the transfer goes on keep
// that stretch without keeping every sample.
class Pace {
public:
    void reset() { clock.invalidate(); }

    void note(qint64 bytes) {
        if (!clock.isValid()) {
            clock.start();
            first = older = newer = last = {0, bytes};
        }
        last = {clock.elapsed(), bytes};
        if (last.ms > 2 * newer.ms) {
            older = newer;
            newer = last;
        }
    }

    // At the pace of the stretch, the time all the bytes taken need, less the time that has passed.
    std::chrono::milliseconds drain() const {
        const qint64 bytes = last.bytes - older.bytes;
        const qint64 ms = last.ms - older.ms;
        if (!clock.isValid() || bytes <= 0 || ms <= 0)
            return {};
        const double needed = static_cast<double>(last.bytes - first.bytes) * static_cast<double>(ms) /
                              static_cast<double>(bytes);
        const double most = std::chrono::duration<double, std::milli>(kMostDrain).count();
        return std::chrono::milliseconds(static_cast<qint64>(std::clamp(needed - last.ms, 0.0, most)));
    }

private:
    struct Mark {
        qint64 ms, bytes;
    };
    QElapsedTimer clock;
    Mark first{}, older{}, newer{}, last{};
};
// A program that is ending looks at its request this often, and gives any operation other than a data
// transfer this long to end by itself (removing what an abandoned upload left takes a login and a DELE).
constexpr int kCancelCheckMs = 100;
constexpr qint64 kCancelGraceMs = 2000;

// The server's replies of one operation, from libcurl's header callback. Lines that do not start with
// a reply code outside a multi-line reply are headers libcurl makes up itself.
class Replies {
public:
    void clear() {
        all.clear();
        line.clear();
        current.clear();
        multiLineCode.clear();
    }

    void feed(const char* data, size_t size) {
        line.append(data, static_cast<qsizetype>(size));
        qsizetype end;
        while ((end = line.indexOf('\n')) >= 0) {
            QByteArray one = line.left(end + 1);
            line.remove(0, end + 1);
            if (!one.endsWith("\r\n"))
                one.insert(one.size() - 1, '\r');
            take(one);
        }
    }

    const QList<QByteArray>& replies() const { return all; }
    int lastCode() const { return all.isEmpty() ? 0 : codeOf(all.last()); }

    static int codeOf(const QByteArray& reply) { return reply.left(3).toInt(); }

private:
    static bool startsWithCode(const QByteArray& l) {
        return l.size() >= 5 && std::isdigit(static_cast<unsigned char>(l[0])) &&
               std::isdigit(static_cast<unsigned char>(l[1])) &&
               std::isdigit(static_cast<unsigned char>(l[2])) && (l[3] == ' ' || l[3] == '-' || l[3] == '\r');
    }

    void take(const QByteArray& l) {
        if (!multiLineCode.isEmpty()) {
            current += l;
            if (l.startsWith(multiLineCode) && l.size() > 3 && l[3] != '-')
                complete();
            return;
        }
        if (!startsWithCode(l))
            return;
        current = l;
        if (l[3] == '-')
            multiLineCode = l.left(3);
        else
            complete();
    }

    void complete() {
        all.append(current);
        setLastResponse(current);
        current.clear();
        multiLineCode.clear();
    }

    QList<QByteArray> all;
    QByteArray line, current, multiLineCode;
};

// "257 "/a ""quoted"" b" is the current directory": the path between the quotes, "" standing for ".
QByteArray pathOfPwd(const QByteArray& reply) {
    const qsizetype open = reply.indexOf('"');
    QByteArray path;
    for (qsizetype i = open + 1; open >= 0 && i < reply.size(); ++i) {
        if (reply[i] != '"')
            path += reply[i];
        else if (i + 1 < reply.size() && reply[i + 1] == '"')
            path += reply[i++];
        else
            break;
    }
    return path;
}

class FtpBackend;

class CurlTransfer : public Transfer {
public:
    CurlTransfer(FtpBackend& ftp, bool upload);
    ~CurlTransfer() override;
    DWORD start();
    DWORD write(const char* data, qint64 size) override;
    DWORD read(char* data, qint64 size, qint64& bytesRead) override;
    DWORD finish() override;
    bool uploading() const { return upload; }

    static size_t onRead(char* buffer, size_t size, size_t count, void* self);
    static size_t onWrite(char* data, size_t size, size_t count, void* self);

private:
    qsizetype waiting() const { return buffer.size() - offset; }
    void takeFromBuffer(char* to, qsizetype size);
    void resume();
    DWORD failure() const;

    FtpBackend& ftp;
    const bool upload;
    QByteArray buffer; // bytes written and not yet taken by libcurl, or received and not yet read
    qsizetype offset = 0;
    qsizetype pushAt = kBlock; // an upload hands libcurl its bytes when this many wait
    qint64 received = 0;
    bool paused = false;
    bool endOfData = false;
    bool attached = true;
};

class FtpBackend : public Backend {
public:
    FtpBackend(const Target& target, const QByteArray& user, const QByteArray& password, bool passive)
        : user(user), password(password), tls(target.kind == Target::Kind::Ftps), passive(passive) {
        static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
        Q_UNUSED(initialised);
        const QByteArray host = target.host.contains(':') ? '[' + target.host + ']' : target.host;
        origin = "ftp://" + host + ':' + QByteArray::number(target.port);
        multi = curl_multi_init();
        easy = curl_easy_init();
    }

    ~FtpBackend() override {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi); // says QUIT on the cached control connection
    }

    DWORD connect() override {
        if (!multi || !easy)
            return ERROR_INTERNET_INTERNAL_ERROR;
        if (const DWORD error = quoted({"FEAT"}))
            return error;
        // libcurl asks for the folder it lands in right after the login; FEAT tells whether MLSD is there.
        bool landed = false;
        for (const QByteArray& reply : replies.replies()) {
            if (Replies::codeOf(reply) == 257 && !landed && pathOfPwd(reply).startsWith('/')) {
                cwd = pathOfPwd(reply);
                landed = true;
            }
            if (Replies::codeOf(reply) == 211)
                mlsd = reply.toUpper().contains("\n MLST");
        }
        return 0;
    }

    QByteArray currentDirectory() const override { return cwd; }

    DWORD setCurrentDirectory(const QByteArray& path) override {
        QList<QByteArray> answers;
        if (const DWORD error = commands({"CWD " + path, "PWD"}, answers))
            return error;
        const QByteArray canonical = pathOfPwd(answers.last());
        cwd = canonical.startsWith('/') ? canonical : path;
        return 0;
    }

    DWORD remove(const QByteArray& path) override { return commands({"DELE " + path}); }
    DWORD rename(const QByteArray& from, const QByteArray& to) override {
        return commands({"RNFR " + from, "RNTO " + to});
    }
    DWORD makeDirectory(const QByteArray& path) override { return commands({"MKD " + path}); }
    DWORD removeDirectory(const QByteArray& path) override { return commands({"RMD " + path}); }
    DWORD command(const QByteArray& line) override { return commands({line}); }

    DWORD list(const QByteArray& directory, std::vector<WIN32_FIND_DATAA>& entries) override {
        prepare(directory.endsWith('/') ? directory : directory + '/');
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, mlsd ? "MLSD" : "LIST");
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &FtpBackend::onListing);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
        listing.clear();
        const DWORD error = run();
        if (!error)
            entries = parseListing(listing, mlsd, QDateTime::currentDateTimeUtc());
        listing.clear();
        return error;
    }

    DWORD open(const QByteArray& path, bool upload, bool binary,
               std::unique_ptr<Transfer>& transfer) override {
        prepare(path);
        curl_easy_setopt(easy, CURLOPT_TRANSFERTEXT, binary ? 0L : 1L);
        auto opened = std::make_unique<CurlTransfer>(*this, upload);
        if (upload) {
            curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
            curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, static_cast<long>(kBlock));
            curl_easy_setopt(easy, CURLOPT_READFUNCTION, &CurlTransfer::onRead);
            curl_easy_setopt(easy, CURLOPT_READDATA, opened.get());
        } else {
            curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlTransfer::onWrite);
            curl_easy_setopt(easy, CURLOPT_WRITEDATA, opened.get());
        }
        if (const DWORD error = opened->start())
            return error;
        transfer = std::move(opened);
        return 0;
    }

private:
    friend class CurlTransfer;

    // A fresh set of options for each operation; the same ones each time, so that libcurl reuses the
    // logged-in connection. Paths go whole to the server, which is told no CWD.
    void prepare(const QByteArray& path) {
        curl_easy_reset(easy);
        const Limits l = limits();
        const QByteArray url = origin + '/' + path.toPercentEncoding("/");
        curl_easy_setopt(easy, CURLOPT_URL, url.constData());
        curl_easy_setopt(easy, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, password.constData());
        curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, static_cast<long>(l.connect.count()));
        curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(l.reply.count()));
        curl_easy_setopt(easy, CURLOPT_ACCEPTTIMEOUT_MS, static_cast<long>(l.reply.count() * 1000));
        curl_easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 1L);
        curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(easy, CURLOPT_FTP_SKIP_PASV_IP, 1L);
        curl_easy_setopt(easy, CURLOPT_FTPPORT, passive ? nullptr : "-");
        curl_easy_setopt(easy, CURLOPT_USE_SSL, static_cast<long>(tls ? CURLUSESSL_ALL : CURLUSESSL_NONE));
        curl_easy_setopt(easy, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
        const QByteArray ca = caFile();
        if (!ca.isEmpty())
            curl_easy_setopt(easy, CURLOPT_CAINFO, ca.constData());
        curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &FtpBackend::onReply);
        curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
        // Progress as libcurl counts it, and the sockets it opens and closes, for the stall check.
        curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &FtpBackend::onProgress);
        curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
        curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &FtpBackend::onSocket);
        curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, this);
        curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, &FtpBackend::onCloseSocket);
        curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, this);
        replies.clear();
        done = false;
        cancelled = false;
        result = CURLE_OK;
        moving = false;
        pace.reset();
        timedOut = false;
        dataSocket = CURL_SOCKET_BAD;
        sent = received = 0;
    }

    // What shows that the operation is moving: replies, bytes received, and bytes of an upload that the
    // server has acknowledged. libcurl counts an upload's bytes when the socket takes them, and the
    // socket takes megabytes at once; its queue of unacknowledged bytes says how far the server really
    // is. Elsewhere than on Linux the queue is not looked at, and bytes count when the socket takes them.
    struct Progress {
        quint64 activity;
        curl_off_t sent, received;
        int unacknowledged;
        bool operator==(const Progress&) const = default;
    };

    int unacknowledged() const {
        int queued = 0;
#ifdef __linux__
        // A connection the server has reset keeps its count: nothing of it will be acknowledged now.
        pollfd state{dataSocket, POLLOUT, 0};
        if (dataSocket == CURL_SOCKET_BAD ||
            (poll(&state, 1, 0) == 1 && (state.revents & (POLLERR | POLLHUP))) ||
            ioctl(dataSocket, SIOCOUTQ, &queued) != 0)
            queued = 0;
#endif
        return queued;
    }

    // True once nothing has moved for the limit: the stall limit while data flows, the reply limit
    // otherwise, and for the reply that closes an upload that limit plus what the server still had to
    // read (see Pace).
    bool stalled() {
        const Progress now{activity, sent, received, unacknowledged()};
        if (now != seen) {
            seen = now;
            quiet.restart();
            if (moving)
                pace.note(sent - now.unacknowledged);
            return false;
        }
        const Limits l = limits();
        const auto limit = moving && l.stall.count() > 0 ? l.stall : l.reply + drainAllowance;
        return quiet.hasExpired(std::chrono::milliseconds(limit).count());
    }

    // Runs the multi handle until `stop` holds or the operation ends; true when it ended. Nothing
    // moving for the limit ends it as timed out: libcurl's own low-speed check averages over several
    // seconds and would notice a stall that much later.
    bool drive(const std::function<bool()>& stop) {
        quiet.start();
        seen = Progress{activity, sent, received, unacknowledged()};
        QElapsedTimer sinceCancel;
        while (!done) {
            int running = 0;
            curl_multi_perform(multi, &running);
            int queued = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
                if (msg->msg == CURLMSG_DONE) {
                    done = true;
                    result = msg->data.result;
                }
            }
            if (transfer && transfer->uploading())
                tellUploadProgress();
            if (done || (stop && stop()))
                break;
            // A program that is ending: a transfer stops at once, anything else gets a little while.
            if (cancelRequested()) {
                if (!sinceCancel.isValid())
                    sinceCancel.start();
                if (transfer || sinceCancel.hasExpired(kCancelGraceMs)) {
                    done = cancelled = true;
                    result = CURLE_ABORTED_BY_CALLBACK;
                    break;
                }
            }
            if (stalled()) {
                done = true;
                result = CURLE_OPERATION_TIMEDOUT;
                break;
            }
            // libcurl does not always say what it waits for: between two steps (a passive data
            // connection about to be opened) it gives no socket and no timer, and while a TLS data
            // connection waits for its handshake it watches that socket alone, not the control
            // connection whose reply it awaits. So it runs again at once in the first case and every few
            // milliseconds with TLS, instead of sleeping until the poll's time-out. While data flows, a
            // tenth of a second: an upload waiting in the socket's queue moves without libcurl knowing.
            fd_set reading, writing, failing;
            FD_ZERO(&reading);
            FD_ZERO(&writing);
            FD_ZERO(&failing);
            int highest = -1;
            curl_multi_fdset(multi, &reading, &writing, &failing, &highest);
            const int wait = highest < 0 ? 1 : tls ? 10 : moving ? 100 : 1000;
            curl_multi_poll(multi, nullptr, 0, std::min(wait, kCancelCheckMs), nullptr);
        }
        return done;
    }

    DWORD run() {
        curl_multi_add_handle(multi, easy);
        drive(nullptr);
        curl_multi_remove_handle(multi, easy);
        return failure();
    }

    DWORD failure() const {
        return cancelled ? ERROR_INTERNET_OPERATION_CANCELLED : errorOf(result);
    }

    // The bytes of the upload under way that the server has, told when they change.
    void tellUploadProgress() {
        const qint64 arrived = std::max<qint64>(0, static_cast<qint64>(sent) - unacknowledged());
        if (arrived != told) {
            told = arrived;
            reportUploadProgress(arrived);
        }
    }

    // Raw commands on the logged-in connection (logging in first if need be). The "*" lets each fail
    // without libcurl dropping the connection; the replies say how each went.
    DWORD quoted(const QList<QByteArray>& lines) {
        prepare("/");
        curl_slist* quote = nullptr;
        for (const QByteArray& line : lines)
            quote = curl_slist_append(quote, ('*' + line).constData());
        curl_easy_setopt(easy, CURLOPT_QUOTE, quote);
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
        const DWORD error = run();
        curl_slist_free_all(quote);
        return error;
    }

    // Commands whose refusal is an error: the first refused one gives it, and its reply is the one
    // InternetGetLastResponseInfoA shows.
    DWORD commands(const QList<QByteArray>& lines, QList<QByteArray>& answers) {
        for (const QByteArray& line : lines)
            if (line.contains('\r') || line.contains('\n') || line.contains('\0'))
                return ERROR_INVALID_PARAMETER;
        if (const DWORD error = quoted(lines))
            return error;
        answers = replies.replies().mid(replies.replies().size() - lines.size());
        if (answers.size() < lines.size())
            return ERROR_INTERNET_CONNECTION_ABORTED;
        for (const QByteArray& answer : answers) {
            if (Replies::codeOf(answer) >= 400) {
                setLastResponse(answer);
                return ERROR_INTERNET_EXTENDED_ERROR;
            }
        }
        return 0;
    }

    DWORD commands(const QList<QByteArray>& lines) {
        QList<QByteArray> answers;
        return commands(lines, answers);
    }

    // A negative reply is the server's own error; otherwise the code says what failed.
    DWORD errorOf(CURLcode code) const {
        switch (code) {
        case CURLE_OK:
            return 0;
        case CURLE_OPERATION_TIMEDOUT:
        case CURLE_FTP_ACCEPT_TIMEOUT:
            return ERROR_INTERNET_TIMEOUT;
        case CURLE_ABORTED_BY_CALLBACK:
            if (timedOut)
                return ERROR_INTERNET_TIMEOUT;
            break;
        default:
            break;
        }
        if (replies.lastCode() >= 400)
            return ERROR_INTERNET_EXTENDED_ERROR;
        switch (code) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return ERROR_INTERNET_NAME_NOT_RESOLVED;
        case CURLE_COULDNT_CONNECT:
        case CURLE_FTP_ACCEPT_FAILED:
            return ERROR_INTERNET_CANNOT_CONNECT;
        case CURLE_URL_MALFORMAT:
            return ERROR_INTERNET_INVALID_URL;
        case CURLE_FTP_WEIRD_PASV_REPLY:
        case CURLE_FTP_WEIRD_227_FORMAT:
        case CURLE_FTP_CANT_GET_HOST:
            return ERROR_FTP_NO_PASSIVE_MODE;
        case CURLE_PEER_FAILED_VERIFICATION:
            return ERROR_INTERNET_INVALID_CA;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_USE_SSL_FAILED:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CACERT_BADFILE:
            return ERROR_INTERNET_SECURITY_CHANNEL_ERROR;
        default:
            return ERROR_INTERNET_CONNECTION_ABORTED;
        }
    }

    static size_t onReply(char* data, size_t size, size_t count, void* self) {
        auto* ftp = static_cast<FtpBackend*>(self);
        ftp->replies.feed(data, size * count);
        ++ftp->activity;
        return size * count;
    }

    // libcurl also waits inside its own calls (for the reply that ends a transfer), calling this every
    // second or so: the stall check must hold there too.
    static int onProgress(void* self, curl_off_t, curl_off_t received, curl_off_t, curl_off_t sent) {
        auto* ftp = static_cast<FtpBackend*>(self);
        ftp->sent = sent;
        ftp->received = received;
        // Nor does a program that is ending wait there for a transfer's end.
        if (ftp->transfer && cancelRequested()) {
            ftp->cancelled = true;
            return 1;
        }
        ftp->timedOut = ftp->stalled();
        return ftp->timedOut ? 1 : 0;
    }

    // The last socket opened is the data connection's once a transfer is under way.
    static int onSocket(void* self, curl_socket_t socket, curlsocktype) {
        static_cast<FtpBackend*>(self)->dataSocket = socket;
        return CURL_SOCKOPT_OK;
    }

    static int onCloseSocket(void* self, curl_socket_t socket) {
        auto* ftp = static_cast<FtpBackend*>(self);
        if (ftp->dataSocket == socket)
            ftp->dataSocket = CURL_SOCKET_BAD;
        else if (ftp->moving && !ftp->tls)
            ftp->takeUnread(socket);
#ifdef _WIN32
        return closesocket(socket);
#else
        return close(socket);
#endif
    }

    // What the server said on the control connection before a transfer failed (a 552 sent half-way
    // through an upload, before it drops the data connection): libcurl stops at the broken transfer and
    // closes the connection without reading it. Only what has already arrived; with TLS the bytes are
    // ciphered and the transfer's own error stands.
    void takeUnread(curl_socket_t socket) {
        char data[4096];
#ifdef _WIN32
        u_long pending = 0;
        if (ioctlsocket(socket, FIONREAD, &pending) != 0 || pending == 0)
            return;
        const int size = recv(socket, data, static_cast<int>(sizeof data), 0);
#else
        const ssize_t size = recv(socket, data, sizeof data, MSG_DONTWAIT);
#endif
        if (size > 0)
            replies.feed(data, static_cast<size_t>(size));
    }

    static size_t onListing(char* data, size_t size, size_t count, void* self) {
        auto* ftp = static_cast<FtpBackend*>(self);
        ftp->listing.append(data, static_cast<qsizetype>(size * count));
        ++ftp->activity;
        return size * count;
    }

    QByteArray origin, user, password;
    const bool tls, passive;
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    Replies replies;
    QByteArray listing;
    quint64 activity = 0; // bumped by replies and data received
    curl_off_t sent = 0, received = 0;
    curl_socket_t dataSocket = CURL_SOCKET_BAD;
    Progress seen{};
    QElapsedTimer quiet;
    bool moving = false;                        // a transfer's data flows
    Pace pace;                                  // of the upload under way
    std::chrono::milliseconds drainAllowance{}; // while an upload waits for its closing reply
    bool timedOut = false;                      // the progress callback stopped libcurl for a stall
    bool cancelled = false;
    CurlTransfer* transfer = nullptr; // the file open on this connection, if any
    qint64 told = -1;                 // bytes of its upload last told as arrived
    bool done = false;
    CURLcode result = CURLE_OK;
    QByteArray cwd = "/";
    bool mlsd = false;
};

CurlTransfer::CurlTransfer(FtpBackend& ftp, bool upload) : ftp(ftp), upload(upload) {
    ftp.transfer = this;
    ftp.told = -1;
}

// Opening waits until the server has accepted the STOR or RETR: for an upload, until libcurl first
// asks for data (and is told to pause); for a download, until the first data or the end arrives.
DWORD CurlTransfer::start() {
    curl_multi_add_handle(ftp.multi, ftp.easy);
    ftp.drive([this] { return upload ? paused : received > 0; });
    if (!ftp.done) {
        ftp.moving = true;
        return 0;
    }
    const DWORD error = failure();
    if (error || upload) {
        attached = false;
        curl_multi_remove_handle(ftp.multi, ftp.easy);
        return error ? error : ERROR_INTERNET_CONNECTION_ABORTED;
    }
    return 0;
}

CurlTransfer::~CurlTransfer() {
    ftp.transfer = nullptr;
    if (attached)
        curl_multi_remove_handle(ftp.multi, ftp.easy); // an unfinished transfer drops its connection
}

DWORD CurlTransfer::failure() const {
    return ftp.done ? ftp.failure() : 0;
}

size_t CurlTransfer::onRead(char* to, size_t size, size_t count, void* self) {
    auto* t = static_cast<CurlTransfer*>(self);
    const qsizetype n = std::min(t->waiting(), static_cast<qsizetype>(size * count));
    if (n == 0) {
        if (t->endOfData)
            return 0;
        t->paused = true;
        return CURL_READFUNC_PAUSE;
    }
    t->takeFromBuffer(to, n);
    return static_cast<size_t>(n);
}

size_t CurlTransfer::onWrite(char* data, size_t size, size_t count, void* self) {
    auto* t = static_cast<CurlTransfer*>(self);
    ++t->ftp.activity;
    t->buffer.append(data, static_cast<qsizetype>(size * count));
    t->received += static_cast<qint64>(size * count);
    return size * count;
}

void CurlTransfer::takeFromBuffer(char* to, qsizetype size) {
    std::memcpy(to, buffer.constData() + offset, static_cast<size_t>(size));
    offset += size;
    if (offset == buffer.size()) {
        buffer.clear();
        offset = 0;
    }
}

void CurlTransfer::resume() {
    if (paused) {
        paused = false;
        curl_easy_pause(ftp.easy, CURLPAUSE_CONT);
    }
}

DWORD CurlTransfer::write(const char* data, qint64 size) {
    if (ftp.done) // the server ended the upload before we did
        return failure() ? failure() : ERROR_INTERNET_CONNECTION_ABORTED;
    if (offset > kBlock) {
        buffer.remove(0, offset);
        offset = 0;
    }
    buffer.append(data, static_cast<qsizetype>(size));
    if (waiting() < pushAt)
        return 0;
    // Each time another block has piled up, hand libcurl what the socket takes now without waiting, so
    // the server works while the caller prepares the next bytes; wait only when too much piles up.
    resume();
    ftp.drive([] { return true; });
    if (waiting() >= kHighWater && !ftp.done) {
        resume();
        ftp.drive([this] { return paused || waiting() < kBlock; });
    }
    pushAt = waiting() + kBlock;
    if (ftp.done)
        return failure() ? failure() : ERROR_INTERNET_CONNECTION_ABORTED;
    return 0;
}

DWORD CurlTransfer::read(char* data, qint64 size, qint64& bytesRead) {
    bytesRead = 0;
    if (waiting() < size && offset > 0) { // what was read goes, before more arrives behind it
        buffer.remove(0, offset);
        offset = 0;
    }
    ftp.drive([this, size] { return waiting() >= size; });
    if (const DWORD error = failure())
        return error;
    bytesRead = std::min(static_cast<qint64>(waiting()), size);
    takeFromBuffer(data, static_cast<qsizetype>(bytesRead));
    return 0;
}

DWORD CurlTransfer::finish() {
    if (!ftp.done && upload) {
        // Every byte taken by libcurl and acknowledged by the server before the end is told: once the
        // data connection is closed, what would still wait in its queue can no longer be seen to move,
        // and the wait for the closing reply would take a slow line for a silent server.
        resume();
        ftp.drive([this] { return paused && waiting() == 0 && ftp.unacknowledged() == 0; });
    }
    if (!ftp.done) {
        curl_off_t expected = -1;
        curl_easy_getinfo(ftp.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
        // A download closed before its end is abandoned; one whose bytes have all arrived only waits
        // for the server's closing reply.
        if (!upload && (expected < 0 || received < expected))
            return 0;
        // The server confirms an upload once it has read what the buffers still held; libcurl's own wait
        // for that reply is stretched as far as ours.
        if (upload) {
            ftp.drainAllowance = ftp.pace.drain();
            const auto wait = std::chrono::ceil<std::chrono::seconds>(limits().reply + ftp.drainAllowance);
            curl_easy_setopt(ftp.easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, static_cast<long>(wait.count()));
        }
        ftp.moving = false;
        endOfData = true;
        resume();
        ftp.drive(nullptr);
        ftp.drainAllowance = {};
    }
    attached = false;
    curl_multi_remove_handle(ftp.multi, ftp.easy);
    return failure();
}

} // namespace

std::unique_ptr<Backend> makeFtpBackend(const Target& target, const QByteArray& user,
                                        const QByteArray& password, bool passive) {
    return std::make_unique<FtpBackend>(target, user, password, passive);
}

} // namespace wininet::detail
