#include "winapi/ansi.h"

#include <QStringConverter>
#include <array>

#ifndef Q_OS_WIN
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; 0 marks the five codes it leaves undefined.
constexpr std::array<char16_t, 32> kAlto = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char byteDe(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < kAlto.size(); ++i)
        if (kAlto[i] == c && c != 0)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

QByteArray aAnsi(const QString& texto) {
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        // A character beyond the 16-bit range is one "?", not two.
        if (c.isHighSurrogate() && i + 1 < texto.size() && texto.at(i + 1).isLowSurrogate())
            ++i;
        bytes.append(c.isSurrogate() ? '?' : byteDe(c.unicode()));
    }
    return bytes;
}

QString desdeAnsi(const QByteArray& bytes) {
    QString texto;
    texto.reserve(bytes.size());
    for (const char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        const char16_t c = (u >= 0x80 && u < 0xA0) ? kAlto[u - 0x80] : u;
        texto.append(QChar(c != 0 ? c : u));
    }
    return texto;
}
#else
QByteArray aAnsi(const QString& texto) {
    return QStringEncoder(QStringConverter::System).encode(texto);
}
QString desdeAnsi(const QByteArray& bytes) {
    return QStringDecoder(QStringConverter::System).decode(bytes);
}
#endif
