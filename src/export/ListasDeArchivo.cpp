#include "export/ListasDeArchivo.h"

#include "components/LibKtfa.h"
#include "winapi/ansi.h"
#include "winapi/escritura.h"
#include "winapi/lectura.h"

#include <QSaveFile>
#include <algorithm>
#include <limits>
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
    if (archivo.open(QIODevice::WriteOnly) && escritura::escribirTodo(archivo, bytes, motivo) &&
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

// The line that starts at `inicio` (ended by CR LF, LF, CR or the end of the file) and where the next
// one starts; false at the end of the bytes.
bool lineaEn(const QByteArray& bytes, qsizetype& inicio, QByteArrayView& linea) {
    if (inicio >= bytes.size())
        return false;
    qsizetype fin = inicio;
    while (fin < bytes.size() && bytes[fin] != '\r' && bytes[fin] != '\n')
        ++fin;
    linea = QByteArrayView(bytes).sliced(inicio, fin - inicio);
    inicio = fin + (fin + 1 < bytes.size() && bytes[fin] == '\r' && bytes[fin + 1] == '\n' ? 2 : 1);
    return true;
}

ListaLeida<QStringList> leerLineas(const QString& ruta) {
    const lectura::Lectura leida = lectura::leer(ruta);
    ListaLeida<QStringList> lista{!leida.ausente(), {}, leida.ilegible() ? leida.error() : QString()};
    QByteArrayView linea;
    for (qsizetype inicio = 0; lineaEn(leida.bytes, inicio, linea);)
        lista.valores.append(desdeUtf8OAnsi(linea.toByteArray()));
    return lista;
}

} // namespace

bool escribirListaDeProductos(const QString& ruta, const QList<ProductoDeLista>& productos) {
    QStringList lineas;
    for (const ProductoDeLista& p : productos)
        lineas << p.clave << p.descripcion;
    return escribirLineas(ruta, lineas);
}

ListaLeida<QList<ProductoDeLista>> leerListaDeProductos(const QString& ruta) {
    ProductosDelArchivo archivo(ruta);
    ListaLeida<QList<ProductoDeLista>> lista{archivo.existe(), {}, archivo.error()};
    lista.valores.reserve(archivo.cuenta());
    for (ProductoDeLista producto; archivo.siguiente(producto);)
        lista.valores.append(producto);
    return lista;
}

ProductosDelArchivo::ProductosDelArchivo(const QString& ruta) {
    lectura::Lectura leida = lectura::leer(ruta);
    hay = !leida.ausente();
    motivo = leida.ilegible() ? leida.error() : QString();
    bytes = std::move(leida.bytes);
    qint64 lineas = 0;
    QByteArrayView linea;
    for (qsizetype inicio = 0; lineaEn(bytes, inicio, linea);)
        ++lineas;
    productos = static_cast<qint32>(std::min<qint64>(lineas / 2, std::numeric_limits<qint32>::max()));
}

bool ProductosDelArchivo::siguienteLinea(QString& linea) {
    QByteArrayView bytesDeLinea;
    if (!lineaEn(bytes, posicion, bytesDeLinea))
        return false;
    linea = desdeUtf8OAnsi(bytesDeLinea.toByteArray());
    return true;
}

bool ProductosDelArchivo::siguiente(ProductoDeLista& producto) {
    const qsizetype inicio = posicion;
    if (siguienteLinea(producto.clave) && siguienteLinea(producto.descripcion))
        return true;
    posicion = inicio; // a code without its description is no product, and stays none
    return false;
}

bool ProductosDelArchivo::siguienteClave(QByteArray& clave) {
    const qsizetype inicio = posicion;
    QByteArrayView bytesDeClave, descripcion;
    if (!lineaEn(bytes, posicion, bytesDeClave) || !lineaEn(bytes, posicion, descripcion)) {
        posicion = inicio;
        return false;
    }
    // Plain ASCII reads the same in UTF-8 and in the ANSI code page.
    const bool ascii = std::all_of(bytesDeClave.begin(), bytesDeClave.end(),
                                   [](char c) { return static_cast<uchar>(c) < 0x80; });
    clave = ascii ? bytesDeClave.toByteArray() : desdeUtf8OAnsi(bytesDeClave.toByteArray()).toUtf8();
    return true;
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

ListaLeida<QStringList> leerListaDeCampos(const QString& ruta) {
    return leerLineas(ruta);
}

const QStringList& camposPorDefecto() {
    static const QStringList campos = {QStringLiteral("Clave"), QStringLiteral("Descrip"),
                                       QStringLiteral("Marca"), QStringLiteral("Existencia"),
                                       QStringLiteral("Precio3")};
    return campos;
}
