#include "export/ListasDeArchivo.h"

#include "components/LibKtfa.h"
#include "winapi/ansi.h"

#include <QFile>
#include <QSaveFile>
#include <spdlog/spdlog.h>

namespace {

QString unaLinea(QString valor) {
    valor.replace(QLatin1String("\r\n"), QLatin1String(" "));
    valor.replace(QLatin1Char('\r'), QLatin1Char(' '));
    valor.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return valor;
}

bool escribirLineas(const QString& ruta, const QStringList& lineas) {
    QByteArray bytes;
    for (const QString& linea : lineas)
        bytes += aAnsi(unaLinea(linea)) + "\r\n";
    // Written aside and renamed, so that a reader never sees half a list and a full disk or a crash
    // keeps the old one; commit() alone misses a write that fails as the buffer goes to disk.
    QSaveFile archivo(ruta);
    if (!archivo.open(QIODevice::WriteOnly) || archivo.write(bytes) != bytes.size() || !archivo.flush() ||
        !archivo.commit()) {
        spdlog::error("No se puede escribir {}: {}", ruta.toStdString(), archivo.errorString().toStdString());
        return false;
    }
    return true;
}

// Lines end with CR LF, LF or CR; the end of the file ends the last line.
QStringList leerLineas(const QString& ruta) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = archivo.readAll();
    QStringList lineas;
    qsizetype inicio = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lineas.append(desdeUtf8OAnsi(bytes.mid(inicio, i - inicio)));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        inicio = i + 1;
    }
    if (inicio < bytes.size())
        lineas.append(desdeUtf8OAnsi(bytes.mid(inicio)));
    return lineas;
}

} // namespace

bool escribirListaDeProductos(const QString& ruta, const QList<ProductoDeLista>& productos) {
    QStringList lineas;
    for (const ProductoDeLista& p : productos)
        lineas << p.clave << p.descripcion;
    return escribirLineas(ruta, lineas);
}

QList<ProductoDeLista> leerListaDeProductos(const QString& ruta) {
    const QStringList lineas = leerLineas(ruta);
    QList<ProductoDeLista> productos;
    for (qsizetype i = 0; i + 1 < lineas.size(); i += 2)
        productos.append({lineas.at(i), lineas.at(i + 1)});
    return productos;
}

bool escribirListaDeCampos(const QString& ruta, const QList<CampoDeLista>& elementos,
                           const QString& separador, LibKtfa& ktfa) {
    QList<CampoDeLista> seleccionados;
    for (const CampoDeLista& e : elementos)
        if (e.seleccionado)
            seleccionados.append(e);
    QStringList campos;
    for (qsizetype k = 1; k <= seleccionados.size(); ++k) {
        for (const CampoDeLista& e : seleccionados) {
            const qsizetype p = e.texto.indexOf(separador);
            if (p >= 0 && ktfa.nxVal(e.texto.mid(p + separador.size() + 1)) == static_cast<double>(k)) {
                campos.append(e.texto.left(p));
                break;
            }
        }
    }
    for (const CampoDeLista& e : seleccionados)
        if (!e.texto.contains(separador))
            campos.append(e.texto);
    return escribirLineas(ruta, campos);
}

QStringList leerListaDeCampos(const QString& ruta) {
    return leerLineas(ruta);
}

const QStringList& camposPorDefecto() {
    static const QStringList campos = {QStringLiteral("Clave"), QStringLiteral("Descrip"),
                                       QStringLiteral("Marca"), QStringLiteral("Existencia"),
                                       QStringLiteral("Precio3")};
    return campos;
}
