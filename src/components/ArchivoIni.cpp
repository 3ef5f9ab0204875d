#include "components/ArchivoIni.h"

#include "winapi/ansi.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>
#include <optional>
#include <spdlog/spdlog.h>

namespace {

// The file as lines, with what is needed to write it back in its own style.
struct Contenido {
    QStringList lineas;
    QString finDeLinea = QStringLiteral("\r\n");
    bool bom = false;
};

QString decodificar(const QByteArray& bytes, bool& bom) {
    // A byte-order mark says the encoding (Notepad's "UTF-8 with BOM" and "Unicode").
    if (const auto marcada = QStringConverter::encodingForData(bytes)) {
        bom = *marcada == QStringConverter::Utf8;
        QStringDecoder decodificador(*marcada);
        return decodificador(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString texto = utf8(bytes);
    return utf8.hasError() ? desdeAnsi(bytes) : texto;
}

Contenido cargar(const QString& archivo) {
    Contenido c;
    QFile f(archivo);
    if (!f.open(QIODevice::ReadOnly))
        return c;
    const QString texto = decodificar(f.readAll(), c.bom);
    const qsizetype salto = texto.indexOf(QLatin1Char('\n'));
    if (salto > 0 && texto.at(salto - 1) != QLatin1Char('\r'))
        c.finDeLinea = QStringLiteral("\n");
    if (texto.isEmpty())
        return c;
    c.lineas = texto.split(QLatin1Char('\n'));
    if (texto.endsWith(QLatin1Char('\n')))
        c.lineas.removeLast();
    for (QString& linea : c.lineas)
        if (linea.endsWith(QLatin1Char('\r')))
            linea.chop(1);
    return c;
}

bool guardar(const QString& archivo, const Contenido& c) {
    QByteArray bytes = c.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (const QString& linea : c.lineas)
        bytes += (linea + c.finDeLinea).toUtf8();
    QSaveFile f(archivo);
    // A settings file that may be written in a folder that may not gets written in place.
    f.setDirectWriteFallback(true);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        spdlog::error("No se puede escribir el archivo de configuración {}: {}", archivo.toStdString(),
                      f.errorString().toStdString());
        return false;
    }
    return true;
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

Rango buscarSeccion(const QStringList& lineas, const QString& seccion) {
    Rango r;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        const auto nombre = seccionDe(lineas.at(i));
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

} // namespace

namespace ini {

QString leer(const QString& archivo, const QString& seccion, const QString& clave) {
    const Contenido c = cargar(archivo);
    const Rango r = buscarSeccion(c.lineas, seccion);
    for (qsizetype i = r.inicio + 1; r.inicio >= 0 && i < r.fin; ++i) {
        const auto nombre = claveDe(c.lineas.at(i));
        if (nombre && mismoNombre(*nombre, clave))
            return valorDe(c.lineas.at(i));
    }
    return QString();
}

bool escribir(const QString& archivo, const QString& seccion, const QString& clave, const QString& valor) {
    Contenido c = cargar(archivo);
    const QString nueva = clave + QLatin1Char('=') + valorParaEscribir(valor);
    const Rango r = buscarSeccion(c.lineas, seccion);
    if (r.inicio < 0) {
        if (!c.lineas.isEmpty() && !c.lineas.constLast().trimmed().isEmpty())
            c.lineas.append(QString());
        c.lineas.append(QLatin1Char('[') + seccion + QLatin1Char(']'));
        c.lineas.append(nueva);
        return guardar(archivo, c);
    }
    // A new key goes after the last key of its section, so that blank lines and comments that lead
    // into the next section stay where they are.
    qsizetype despuesDe = r.inicio;
    for (qsizetype i = r.inicio + 1; i < r.fin; ++i) {
        const auto nombre = claveDe(c.lineas.at(i));
        if (!nombre)
            continue;
        if (mismoNombre(*nombre, clave)) {
            c.lineas[i] = nueva;
            return guardar(archivo, c);
        }
        despuesDe = i;
    }
    c.lineas.insert(despuesDe + 1, nueva);
    return guardar(archivo, c);
}

} // namespace ini
