#include "components/ArchivoIni.h"

#include "winapi/ansi.h"
#include "winapi/escritura.h"
#include "winapi/lectura.h"

#include <QStringConverter>
#include <algorithm>
#include <optional>
#include <spdlog/spdlog.h>

namespace {

// One line of the file: its bytes as found, line end included, and its text. A line the program does
// not change is written back from its bytes, whatever encoding it was saved in.
struct Linea {
    QByteArray bytes;
    QString texto;
};

// The file as lines, with what is needed to write new lines in its own style.
struct Contenido {
    QList<Linea> lineas;
    QByteArray inicio; // the byte-order mark, when the file has one
    QByteArray finDeLinea = "\r\n";
    bool ansi = false; // its accented lines were saved in ANSI, none in UTF-8
};

bool esAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Each line on its own: a comment typed in Notepad's ANSI must not turn the UTF-8 lines around it into
// nonsense, nor the other way round.
Linea lineaDe(const QByteArray& bytes) {
    QByteArray sinFin = bytes;
    while (sinFin.endsWith('\n') || sinFin.endsWith('\r'))
        sinFin.chop(1);
    return {bytes, desdeUtf8OAnsi(sinFin)};
}

// Where the line that starts at `inicio` ends, its line end included: LF, CR LF, or a CR alone, as old
// Mac editors save.
qsizetype finDeLaLinea(const QByteArray& bytes, qsizetype inicio) {
    for (qsizetype i = inicio; i < bytes.size(); ++i) {
        if (bytes[i] == '\n')
            return i + 1;
        if (bytes[i] == '\r')
            return i + 1 < bytes.size() && bytes[i + 1] == '\n' ? i + 2 : i + 1;
    }
    return bytes.size();
}

QByteArray finDe(const QByteArray& linea) {
    if (linea.endsWith("\r\n"))
        return "\r\n";
    if (linea.endsWith('\n'))
        return "\n";
    return linea.endsWith('\r') ? "\r" : "";
}

// The file as lines; an absent file has none. Nothing when it is there but cannot be read: `error`
// then says why, naming the file.
std::optional<Contenido> cargar(const QString& archivo, QString* error) {
    Contenido c;
    QByteArray bytes;
    QString porQue;
    if (lectura::leer(archivo, bytes, &porQue, ini::kMaximo) == lectura::Estado::ilegible) {
        if (error)
            *error = lectura::noSePuedeLeer(archivo, porQue);
        return std::nullopt;
    }
    if (const auto marcada = QStringConverter::encodingForData(bytes);
        marcada && *marcada != QStringConverter::Utf8) {
        // Notepad's "Unicode" cannot be kept byte for byte line by line: it is rewritten as UTF-8,
        // marked so that Notepad still knows it.
        bytes = QString(QStringDecoder(*marcada).decode(bytes)).toUtf8();
        c.inicio = "\xEF\xBB\xBF";
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        c.inicio = bytes.left(3);
        bytes.remove(0, 3);
    }
    bool utf8 = false;
    for (qsizetype inicio = 0; inicio < bytes.size();) {
        const qsizetype fin = finDeLaLinea(bytes, inicio);
        const Linea& linea = c.lineas.emplace_back(lineaDe(bytes.mid(inicio, fin - inicio)));
        // New lines end as the file's first line does.
        if (c.lineas.size() == 1 && !finDe(linea.bytes).isEmpty())
            c.finDeLinea = finDe(linea.bytes);
        if (!esAscii(linea.bytes))
            (linea.bytes.startsWith(linea.texto.toUtf8()) ? utf8 : c.ansi) = true;
        inicio = fin;
    }
    c.ansi = c.ansi && !utf8 && c.inicio.isEmpty();
    return c;
}

// A line the program writes, in the file's encoding: ANSI where the file is ANSI and the text fits.
Linea nuevaLinea(const Contenido& c, const QString& texto, const QByteArray& fin) {
    const bool ansi = c.ansi && desdeAnsi(aAnsi(texto)) == texto;
    return {(ansi ? aAnsi(texto) : texto.toUtf8()) + fin, texto};
}

void insertar(Contenido& c, qsizetype posicion, const QString& texto) {
    // A last line without its line end gets one before a line follows it.
    if (posicion > 0 && finDe(c.lineas[posicion - 1].bytes).isEmpty())
        c.lineas[posicion - 1].bytes += c.finDeLinea;
    c.lineas.insert(posicion, nuevaLinea(c, texto, c.finDeLinea));
}

// Written aside and renamed over the old file: a full disk or a crash half-way leaves the old one.
bool guardar(const QString& archivo, const Contenido& c, QString* error) {
    QByteArray bytes = c.inicio;
    for (const Linea& linea : c.lineas)
        bytes += linea.bytes;
    return escritura::reemplazar(archivo, bytes, error);
}

bool mismoNombre(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of the section a line opens, when it opens one.
std::optional<QString> seccionDe(const QString& linea) {
    const QString t = linea.trimmed();
    const qsizetype cierre = t.indexOf(QLatin1Char(']'));
    if (!t.startsWith(QLatin1Char('[')) || cierre < 0)
        return std::nullopt;
    return t.mid(1, cierre - 1).trimmed();
}

// The key a line holds, when it holds one.
std::optional<QString> claveDe(const QString& linea) {
    const qsizetype igual = linea.indexOf(QLatin1Char('='));
    if (igual < 0 || seccionDe(linea))
        return std::nullopt;
    const QString clave = linea.left(igual).trimmed();
    return clave.isEmpty() ? std::nullopt : std::optional<QString>(clave);
}

bool entreComillas(const QString& v) {
    return v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
           v.back() == v.front();
}

QString valorDe(const QString& linea) {
    const QString valor = linea.mid(linea.indexOf(QLatin1Char('=')) + 1).trimmed();
    return entreComillas(valor) ? valor.mid(1, valor.size() - 2) : valor;
}

// Quotes keep the blanks around a value, and the quotes of a value that has its own.
QString valorParaEscribir(QString valor) {
    valor.replace(QLatin1String("\r\n"), QLatin1String(" "));
    valor.replace(QLatin1Char('\r'), QLatin1Char(' '));
    valor.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (valor != valor.trimmed() || entreComillas(valor))
        return QLatin1Char('"') + valor + QLatin1Char('"');
    return valor;
}

// Lines [inicio, fin) of the first section of that name: inicio is its header line. inicio is -1 when
// the file has no such section.
struct Rango {
    qsizetype inicio = -1;
    qsizetype fin = -1;
};

Rango buscarSeccion(const QList<Linea>& lineas, const QString& seccion) {
    Rango r;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        const auto nombre = seccionDe(lineas.at(i).texto);
        if (!nombre)
            continue;
        if (r.inicio >= 0) {
            r.fin = i;
            return r;
        }
        if (mismoNombre(*nombre, seccion))
            r.inicio = i;
    }
    r.fin = lineas.size();
    return r;
}

// Puts the key's line in place of its old one; a new key goes after the last key of its section (so
// that blank lines and comments leading into the next section stay where they are), a new section at
// the end.
void poner(Contenido& c, const QString& seccion, const QString& clave, const QString& valor) {
    const QString nueva = clave + QLatin1Char('=') + valorParaEscribir(valor);
    const Rango r = buscarSeccion(c.lineas, seccion);
    if (r.inicio < 0) {
        if (!c.lineas.isEmpty() && !c.lineas.constLast().texto.trimmed().isEmpty())
            insertar(c, c.lineas.size(), QString());
        insertar(c, c.lineas.size(), QLatin1Char('[') + seccion + QLatin1Char(']'));
        insertar(c, c.lineas.size(), nueva);
        return;
    }
    qsizetype despuesDe = r.inicio;
    for (qsizetype i = r.inicio + 1; i < r.fin; ++i) {
        const auto nombre = claveDe(c.lineas.at(i).texto);
        if (!nombre)
            continue;
        if (mismoNombre(*nombre, clave)) {
            c.lineas[i] = nuevaLinea(c, nueva, finDe(c.lineas[i].bytes));
            return;
        }
        despuesDe = i;
    }
    insertar(c, despuesDe + 1, nueva);
}

} // namespace

namespace ini {

QString leer(const QString& archivo, const QString& seccion, const QString& clave, QString* error) {
    const std::optional<Contenido> c = cargar(archivo, error);
    if (!c)
        return QString();
    const Rango r = buscarSeccion(c->lineas, seccion);
    for (qsizetype i = r.inicio + 1; r.inicio >= 0 && i < r.fin; ++i) {
        const auto nombre = claveDe(c->lineas.at(i).texto);
        if (nombre && mismoNombre(*nombre, clave))
            return valorDe(c->lineas.at(i).texto);
    }
    return QString();
}

bool escribir(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor,
              QString* error) {
    QString porQue;
    // A file that cannot be read is never replaced: what it holds would be lost.
    std::optional<Contenido> c = cargar(archivo, &porQue);
    if (c) {
        poner(*c, seccion, clave, valor);
        if (guardar(archivo, *c, &porQue))
            return true;
    }
    if (error)
        *error = porQue;
    spdlog::error("No se guarda \"{}\": {}", clave.toStdString(), porQue.toStdString());
    return false;
}

} // namespace ini
