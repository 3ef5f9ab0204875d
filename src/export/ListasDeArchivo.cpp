#include "export/ListasDeArchivo.h"

#include "components/LibKtfa.h"
#include "winapi/ansi.h"
#include "winapi/escritura.h"
#include "winapi/lectura.h"

#include <QDir>
#include <QFileInfo>
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
    QString error;
    if (escritura::reemplazar(ruta, bytes, &error))
        return true;
    spdlog::error("{}", error.toStdString());
    return false;
}

bool esAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<uchar>(c) < 0x80; });
}

// A line's text. Plain ASCII, nearly every code and description, reads the same in UTF-8 and in the ANSI
// code page, and is taken without a decoder.
QString textoDeLinea(QByteArrayView linea) {
    return esAscii(linea) ? QString::fromLatin1(linea) : desdeUtf8OAnsi(linea.toByteArray());
}

// Where the line that starts at `inicio` ends: at its CR or LF, or at the end of the bytes.
qsizetype finDeLinea(QByteArrayView bytes, qsizetype inicio) {
    qsizetype fin = inicio;
    while (fin < bytes.size() && bytes[fin] != '\r' && bytes[fin] != '\n')
        ++fin;
    return fin;
}

// The line that starts at `inicio` (ended by CR LF, LF, CR or the end of the file) and where the next
// one starts; false at the end of the bytes.
bool lineaEn(const QByteArray& bytes, qsizetype& inicio, QByteArrayView& linea) {
    if (inicio >= bytes.size())
        return false;
    const qsizetype fin = finDeLinea(bytes, inicio);
    linea = QByteArrayView(bytes).sliced(inicio, fin - inicio);
    inicio = fin + (fin + 1 < bytes.size() && bytes[fin] == '\r' && bytes[fin + 1] == '\n' ? 2 : 1);
    return true;
}

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
    QByteArrayView linea;
    for (qsizetype inicio = 0; lineaEn(bytes, inicio, linea);)
        lista.valores.append(textoDeLinea(linea));
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
    ProductosDelArchivo archivo(ruta);
    ListaLeida<QList<ProductoDeLista>> lista{archivo.existe(), {}};
    lista.valores.reserve(archivo.cuenta());
    for (ProductoDeLista producto; archivo.siguiente(producto);)
        lista.valores.append(producto);
    if (archivo.error().isEmpty())
        return lista;
    if (error)
        *error = archivo.error();
    return std::nullopt;
    return lista;
}

ProductosDelArchivo::ProductosDelArchivo(const QString& ruta, qsizetype parte)
    : ruta(ruta), tamanoDeParte(std::max<qsizetype>(parte, 1)) {
    const QFileInfo datos(ruta);
    QFile archivo(ruta);
    if (datos.isFile() && archivo.open(QIODevice::ReadOnly)) {
        hay = true;
        tamano = datos.size();
        cambio = datos.lastModified();
    } else {
        // What cannot be opened as a plain file gets the verdict and the words every file read gets;
        // one that can be read after all (opened a moment later) is held whole.
        QString porQue;
        const lectura::Estado estado = lectura::leer(ruta, bytes, &porQue);
        hay = estado != lectura::Estado::ausente;
        if (estado == lectura::Estado::ilegible)
            motivo = lectura::noSePuedeLeer(ruta, porQue);
        entero = retenido = true;
    }
    qint64 lineas = 0;
    for (QByteArrayView linea; siguienteLinea(linea);)
        ++lineas;
    productos = static_cast<qint32>(std::min<qint64>(lineas / 2, std::numeric_limits<qint32>::max()));
    reiniciar();
}

void ProductosDelArchivo::reiniciar() {
    posicion = 0;
    if (retenido)
        return;
    bytes.clear();
    leido = 0;
    entero = false;
}

bool ProductosDelArchivo::leerParte() {
    if (entero || !motivo.isEmpty())
        return false;
    bytes.remove(0, posicion);
    posicion = 0;
    const QFileInfo datos(ruta);
    QFile archivo(ruta);
    if (datos.size() != tamano || datos.lastModified() != cambio) {
        motivo = QStringLiteral("la lista de productos %1 cambió mientras se enviaba")
                     .arg(QDir::toNativeSeparators(ruta));
        return false;
    }
    const qint64 pedido = std::min<qint64>(tamanoDeParte, tamano - leido);
    const qsizetype antes = bytes.size();
    bytes.resize(antes + pedido);
    if (!archivo.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || !archivo.seek(leido) ||
        archivo.read(bytes.data() + antes, pedido) != pedido) {
        motivo = lectura::noSePuedeLeer(ruta, archivo.errorString());
        return false;
    }
    leido += pedido;
    entero = leido == tamano;
    return true;
}

bool ProductosDelArchivo::siguienteLinea(QByteArrayView& linea) {
    // A line and the byte after its end (the LF of a CR LF) must be in memory; a line longer than a part
    // takes as many parts as it needs.
    qsizetype fin = finDeLinea(bytes, posicion);
    while (!entero && fin + 1 >= bytes.size()) {
        const qsizetype desdeElInicio = fin - posicion;
        if (!leerParte())
            return false;
        fin = finDeLinea(bytes, posicion + desdeElInicio);
    }
    return lineaEn(bytes, posicion, linea);
}

bool ProductosDelArchivo::siguiente(ProductoListado& producto) {
    QByteArrayView linea;
    if (!siguienteLinea(linea))
        return false;
    producto.clave = textoDeLinea(linea);
    // A code without its description is no product.
    if (!siguienteLinea(linea))
        return false;
    producto.descripcion.resize(0); // keeps its memory for the next product
    producto.descripcion.append(linea);
    return true;
}

bool ProductosDelArchivo::siguiente(ProductoDeLista& producto) {
    ProductoListado listado;
    if (!siguiente(listado))
        return false;
    producto = {listado.clave, listado.textoDeDescripcion()};
    return true;
}

QString ProductoListado::textoDeDescripcion() const {
    return textoDeLinea(descripcion);
}

bool ProductosDelArchivo::siguienteClave(QByteArray& clave) {
    QByteArrayView bytesDeClave, descripcion;
    if (!siguienteLinea(bytesDeClave))
        return false;
    if (esAscii(bytesDeClave)) {
        clave.resize(0); // keeps its memory for the next code
        clave.append(bytesDeClave);
    } else {
        clave = desdeUtf8OAnsi(bytesDeClave.toByteArray()).toUtf8();
    }
    return siguienteLinea(descripcion);
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
