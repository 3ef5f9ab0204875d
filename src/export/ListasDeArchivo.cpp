#include "export/ListasDeArchivo.h"

#include "components/LibKtfa.h"
#include "winapi/ansi.h"
#include "winapi/escritura.h"
#include "winapi/lectura.h"

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
    // keeps the old one.
    QSaveFile archivo(ruta);
    QString motivo;
    if (archivo.open(QIODevice::WriteOnly) && escritura::escribirTodo(archivo, bytes, &motivo) &&
        archivo.commit())
        return true;
    spdlog::error("No se puede escribir {}: {}", ruta.toStdString(),
                  (motivo.isEmpty() ? archivo.errorString() : motivo).toStdString());
    if (archivo.isOpen()) {
        archivo.cancelWriting();
        archivo.commit();
    }
    return false;
}

// Lines end with CR LF, LF or CR; the end of the file ends the last line.
std::optional<ListaLeida<QStringList>> leerLineas(const QString& ruta, QString* error) {
    QByteArray bytes;
    QString porQue;
    const lectura::Estado estado = lectura::leer(ruta, bytes, &porQue);
    if (estado == lectura::Estado::ilegible) {
        if (error)
            *error = lectura::noSePuedeLeer(ruta, porQue);
        return std::nullopt;
    }
    ListaLeida<QStringList> lista{estado == lectura::Estado::leido, {}};
    QStringList& lineas = lista.valores;
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
    return lista;
}

} // namespace

bool escribirListaDeProductos(const QString& ruta, const QList<ProductoDeLista>& productos) {
    QStringList lineas;
    for (const ProductoDeLista& p : productos)
        lineas << p.clave << p.descripcion;
    return escribirLineas(ruta, lineas);
}

std::optional<ListaLeida<QList<ProductoDeLista>>> leerListaDeProductos(const QString& ruta, QString* error) {
    const std::optional<ListaLeida<QStringList>> lineas = leerLineas(ruta, error);
    if (!lineas)
        return std::nullopt;
    ListaLeida<QList<ProductoDeLista>> lista{lineas->existe, {}};
    for (qsizetype i = 0; i + 1 < lineas->valores.size(); i += 2)
        lista.valores.append({lineas->valores.at(i), lineas->valores.at(i + 1)});
    return lista;
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

std::optional<ListaLeida<QStringList>> leerListaDeCampos(const QString& ruta, QString* error) {
    return leerLineas(ruta, error);
}

const QStringList& camposPorDefecto() {
    static const QStringList campos = {QStringLiteral("Clave"), QStringLiteral("Descrip"),
                                       QStringLiteral("Marca"), QStringLiteral("Existencia"),
                                       QStringLiteral("Precio3")};
    return campos;
}
