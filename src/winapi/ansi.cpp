#include "winapi/ansi.h"

#include <QStringConverter>
#include <algorithm>
#include <array>

#ifdef Q_OS_WIN
#include <windows.h>

void agregarAnsi(QByteArray& destino, QStringView texto) {
    if (texto.isEmpty())
        return;
    // No "best fit": a character the code page lacks becomes "?" as everywhere else, not a look-alike
    // (which the code page of UTF-8 would refuse as a flag).
    const DWORD opciones = GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    // A character beyond the 16-bit range is one "?", as on every system: the conversion would make it
    // two, one for each half of the pair.
    QString sinPares;
    if (GetACP() != CP_UTF8 &&
        std::any_of(texto.begin(), texto.end(), [](QChar c) { return c.isSurrogate(); })) {
        sinPares.reserve(texto.size());
        for (qsizetype i = 0; i < texto.size(); ++i) {
            const bool par =
                texto[i].isHighSurrogate() && i + 1 < texto.size() && texto[i + 1].isLowSurrogate();
            sinPares += par ? QChar(u'?') : texto[i];
            i += par ? 1 : 0;
        }
        texto = sinPares;
    }
    const auto* ancho = reinterpret_cast<const wchar_t*>(texto.utf16());
    const int largo = static_cast<int>(texto.size());
    const int bytes = WideCharToMultiByte(CP_ACP, opciones, ancho, largo, nullptr, 0, nullptr, nullptr);
    const qsizetype inicio = destino.size();
    destino.resize(inicio + bytes);
    WideCharToMultiByte(CP_ACP, opciones, ancho, largo, destino.data() + inicio, bytes, nullptr, nullptr);
}

QString desdeAnsi(const QByteArray& bytes) {
    return QStringDecoder(QStringConverter::System).decode(bytes);
}
#else
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

void agregarAnsi(QByteArray& destino, QStringView texto) {
    const qsizetype inicio = destino.size();
    destino.resize(inicio + texto.size());
    char* salida = destino.data() + inicio;
    const char16_t* c = texto.utf16();
    const char16_t* fin = c + texto.size();
    for (; c != fin; ++c) {
        if (*c < 0x80) {
            *salida++ = static_cast<char>(*c);
        } else if (QChar::isSurrogate(*c)) {
            // A character beyond the 16-bit range is one "?", not two.
            if (QChar::isHighSurrogate(*c) && c + 1 != fin && QChar::isLowSurrogate(c[1]))
                ++c;
            *salida++ = '?';
        } else {
            *salida++ = byteDe(*c);
        }
    }
    destino.truncate(salida - destino.constData());
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
#endif

QByteArray aAnsi(const QString& texto) {
    QByteArray bytes;
    agregarAnsi(bytes, texto);
    return bytes;
}

QString desdeUtf8OAnsi(const QByteArray& bytes) {
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString texto = utf8(bytes);
    return utf8.hasError() ? desdeAnsi(bytes) : texto;
}
