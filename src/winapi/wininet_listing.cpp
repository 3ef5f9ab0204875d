#include "winapi/wininet_listing.h"

#include "winapi/wininet_backend.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace wininet::detail {
namespace {

struct Entry {
    QByteArray name;
    bool directory = false;
    bool readOnly = false;
    qint64 size = 0;
    QDateTime modified;
};

WIN32_FIND_DATAA toFindData(const Entry& e) {
    WIN32_FIND_DATAA data;
    data.dwFileAttributes = e.directory  ? FILE_ATTRIBUTE_DIRECTORY
                            : e.readOnly ? FILE_ATTRIBUTE_READONLY
                                         : FILE_ATTRIBUTE_NORMAL;
    const FILETIME ft = e.modified.isValid()
                            ? kernel32::fileTimeFromMSecsSinceEpoch(e.modified.toMSecsSinceEpoch())
                            : FILETIME{};
    data.ftCreationTime = data.ftLastAccessTime = data.ftLastWriteTime = ft;
    data.nFileSizeHigh = static_cast<DWORD>(static_cast<quint64>(e.size) >> 32);
    data.nFileSizeLow = static_cast<DWORD>(static_cast<quint64>(e.size) & 0xFFFFFFFFu);
    setFileName(data, e.name);
    return data;
}

// "type=file;size=5;modify=20240131120000;perm=r; name"
bool parseMlsd(const QByteArray& line, Entry& e) {
    const qsizetype space = line.indexOf(' ');
    if (space <= 0)
        return false;
    e.name = line.mid(space + 1);
    QByteArray perm;
    bool hasPerm = false;
    for (const QByteArray& fact : line.left(space).split(';')) {
        const qsizetype eq = fact.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = fact.left(eq).toLower();
        const QByteArray value = fact.mid(eq + 1);
        if (key == "type") {
            const QByteArray type = value.toLower();
            if (type == "cdir" || type == "pdir")
                return false;
            e.directory = type == "dir";
        } else if (key == "size" || key == "sizd") {
            e.size = value.toLongLong();
        } else if (key == "modify") {
            e.modified =
                QDateTime::fromString(QString::fromLatin1(value.left(14)), QStringLiteral("yyyyMMddHHmmss"));
            e.modified.setTimeZone(QTimeZone::utc());
        } else if (key == "perm") {
            perm = value;
            hasPerm = true;
        }
    }
    e.readOnly = hasPerm && !e.directory && !perm.contains('w');
    return !e.name.isEmpty();
}

int monthNumber(const QString& name) {
    static const QStringList months = {QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
                                       QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"),
                                       QStringLiteral("jul"), QStringLiteral("aug"), QStringLiteral("sep"),
                                       QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
    return static_cast<int>(months.indexOf(name.toLower())) + 1;
}

// "-rw-r--r--    1 1001     1001            5 Dec 05 20:27 name": the size is the number right
// before the month; owner and group may be missing or numeric, the name may hold spaces.
bool parseUnix(const QString& line, const QDateTime& now, Entry& e) {
    static const QRegularExpression re(
        QStringLiteral("^([-dlbcps])(\\S{9})\\S*\\s+(?:.*?\\s)?(\\d+)\\s+"
                       "(jan|feb|mar|apr|may|jun|jul|aug|sep|oct|nov|dec)\\s+(\\d{1,2})\\s+"
                       "(?:(\\d{1,2}):(\\d{2})|(\\d{4}))\\s(.+)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return false;
    const QChar type = m.captured(1).at(0);
    e.directory = type == u'd';
    e.readOnly = !e.directory && m.captured(2).at(1) != u'w';
    e.size = m.captured(3).toLongLong();
    QString name = m.captured(9);
    if (type == u'l' && name.contains(QStringLiteral(" -> ")))
        name.truncate(name.indexOf(QStringLiteral(" -> ")));
    e.name = name.toLatin1();

    const int month = monthNumber(m.captured(4));
    const int day = m.captured(5).toInt();
    if (m.captured(8).isEmpty()) {
        // Time of day instead of the year: within the last six months, so never in the future.
        const QTime time(m.captured(6).toInt(), m.captured(7).toInt());
        for (int year = now.date().year(); year >= now.date().year() - 1 && !e.modified.isValid(); --year) {
            const QDateTime candidate(QDate(year, month, day), time, QTimeZone::utc());
            if (candidate.isValid() && candidate <= now.addDays(1))
                e.modified = candidate;
        }
    } else {
        e.modified = QDateTime(QDate(m.captured(8).toInt(), month, day), QTime(0, 0), QTimeZone::utc());
    }
    return e.name != "." && e.name != "..";
}

// "01-31-24  08:27PM       <DIR>          name" or "01-31-2024  20:27  1234 name"
bool parseDos(const QString& line, Entry& e) {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{2})-(\\d{2})-(\\d{2}|\\d{4})\\s+(\\d{1,2}):(\\d{2})"
                       "\\s*([AP]M)?\\s+(<DIR>|\\d+)\\s+(.+)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(line);
    if (!m.hasMatch())
        return false;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 70 ? 2000 : 1900;
    int hour = m.captured(4).toInt() % 12;
    if (m.captured(6).isEmpty())
        hour = m.captured(4).toInt();
    else if (m.captured(6).compare(QStringLiteral("PM"), Qt::CaseInsensitive) == 0)
        hour += 12;
    e.modified = QDateTime(QDate(year, m.captured(1).toInt(), m.captured(2).toInt()),
                           QTime(hour, m.captured(5).toInt()), QTimeZone::utc());
    e.directory = m.captured(7).compare(QStringLiteral("<DIR>"), Qt::CaseInsensitive) == 0;
    e.size = e.directory ? 0 : m.captured(7).toLongLong();
    e.name = m.captured(8).toLatin1();
    return e.name != "." && e.name != "..";
}

} // namespace

std::vector<WIN32_FIND_DATAA> parseListing(const QByteArray& body, bool mlsd, const QDateTime& now) {
    std::vector<WIN32_FIND_DATAA> entries;
    for (QByteArray line : body.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        Entry e;
        // Latin-1 keeps every byte as one character, so names go back to their exact bytes.
        const QString text = QString::fromLatin1(line);
        if (mlsd ? parseMlsd(line, e) : (parseUnix(text, now, e) || parseDos(text, e)))
            entries.push_back(toFindData(e));
    }
    return entries;
}

} // namespace wininet::detail
