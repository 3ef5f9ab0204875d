#include "export/Exportador.h"

#include "components/BasesDD.h"
#include "export/Avance.h"
#include "export/FilasDeProductos.h"
#include "export/LineasDeLaLista.h"
#include "export/ListasDeArchivo.h"
#include "export/SqlSeguro.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <spdlog/spdlog.h>

namespace {

// Listed codes looked up by one query: few round trips, and a statement far below any server's limit.
constexpr qsizetype kCodigosPorBloque = 1000;
// A list of at least one product in this many of the catalogue is found by reading the whole catalogue
// once: a product found by its code costs the database about as much as reading this many in order.
constexpr qint64 kListadosPorRecorrido = 5;

qsizetype indiceSinMayusculas(const QStringList& nombres, const QString& nombre) {
    for (qsizetype i = 0; i < nombres.size(); ++i)
        if (nombres[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

Exportador::Exportador(BasesDD& bd, ado::Connection& conexion, Avance& avance, AlEscribirLinea alEscribir)
    : bd(bd), conexion(conexion), avance(avance), alEscribir(std::move(alEscribir)),
      referencias(bd, conexion, texto, [this](const QString& aviso) { avisar(aviso); }) {}

ResultadoDeExportacion Exportador::exportar(const QString& archivoProductos, const QString& archivoCampos,
                                            const QString& archivoSalida, QString* error) {
    resultado = {};
    porQue.clear();
    const auto decirPorQue = qScopeGuard([this, error] {
        if (error && !resultado.completo)
            *error = porQue;
    });
    // Decimal columns as the database's own text: reading each as a double and printing it again would
    // cost more than all the rest of the export.
    QSqlDatabase db = conexion.baseDeDatos();
    db.setNumericalPrecisionPolicy(QSql::HighPrecision);
    // A list that is there but cannot be read stops the send before anything is written: read as empty
    // it would publish an empty catalogue, or every product of a shop that chose a few.
    const auto listaDeCampos = leerListaDeCampos(archivoCampos, &porQue);
    ProductosDelArchivo listaDeProductos(archivoProductos);
    if (listaDeCampos && porQue.isEmpty())
        porQue = listaDeProductos.error();
    // The program never leaves a product list without products: such a file was cut short or edited by
    // hand, and says nothing about which products the shop wants.
    if (porQue.isEmpty() && listaDeProductos.existe() && listaDeProductos.cuenta() == 0)
        porQue = QStringLiteral("la lista de productos %1 no tiene ningún producto completo, un código y su "
                                "descripción en dos líneas; bórrela para enviar todos los productos")
                     .arg(QDir::toNativeSeparators(archivoProductos));
    if (!porQue.isEmpty())
        return resultado;
    // Without a field list the shop still gets the usual columns, never an empty catalogue.
    const QStringList campos = listaDeCampos->existe ? listaDeCampos->valores : camposPorDefecto();
    if (!prepararColumnas(campos)) {
        porQue = QStringLiteral("no se pudo leer la tabla productos: ") + bd.cError;
        resultado.deLaBase = true;
        return resultado;
    }
    if (!contarCatalogo())
        return resultado;

    ArchivoDeExportacion salida(archivoSalida);
    // The file's own name, so that the reason reads the same whichever step of the writing failed.
    QString porQueNo;
    const auto noEscrito = [&] {
        return QStringLiteral("el archivo '%1' no se pudo escribir completo (%2)")
            .arg(QFileInfo(archivoSalida).fileName(), porQueNo);
    };
    if (!salida.abrir(&porQueNo)) {
        porQue = noEscrito();
        return resultado;
    }
    archivo = &salida;
    const bool leido = listaDeProductos.existe() ? exportarLista(listaDeProductos) : exportarTodos();
    archivo = nullptr;

    resultado.bytes = salida.bytes();
    if (!leido) {
        salida.descartar();
        return resultado;
    }
    if (!salida.terminar(&porQueNo)) {
        porQue = noEscrito();
        return resultado;
    }
    resultado.completo = true;
    return resultado;
}

bool Exportador::prepararColumnas(const QStringList& campos) {
    // No rows, but the recordset is open with the table's columns.
    ado::Recordset rs;
    bd.AbrirTabla(rs, conexion, QStringLiteral("productos LIMIT 0"));
    if (rs.State() != ado::adStateOpen)
        return false;
    QStringList existentes;
    for (qint32 i = 0; i < rs.Fields().Count(); ++i)
        existentes << rs.Fields(i).Name();
    bd.CierraTabla(rs);

    // The SELECT list: Clave and Descrip for the progress text, then each column a field needs, once.
    // Only names read from the table itself reach the SQL text.
    QStringList seleccion = {QStringLiteral("Clave"), QStringLiteral("Descrip")};
    QStringList desconocidos;
    columnas.clear();
    for (const QString& campo : campos) {
        Columna columna;
        const qsizetype existente = indiceSinMayusculas(existentes, campo);
        if (existente < 0 && indiceSinMayusculas(desconocidos, campo) < 0) {
            desconocidos << campo;
            avisar(QStringLiteral("el campo \"%1\" no es una columna de la tabla productos; se envía vacío")
                       .arg(campo));
        }
        if (existente >= 0) {
            qsizetype indice = indiceSinMayusculas(seleccion, existentes[existente]);
            if (indice < 0) {
                indice = seleccion.size();
                seleccion << existentes[existente];
            }
            columna.indice = static_cast<int>(indice);
            const std::optional<TablaDeReferencia> referencia = referenciaDeCampo(campo);
            columna.tipo = referencia ? Columna::Tipo::Referencia : Columna::Tipo::Directa;
            if (referencia)
                columna.nombres = referencias.tabla(*referencia);
        }
        columnas.push_back(columna);
    }
    QStringList escapadas;
    for (const QString& nombre : seleccion)
        escapadas << identificadorSql(conexion, nombre);
    listaSelect = escapadas.join(QLatin1Char(','));
    return true;
}

bool Exportador::contarCatalogo() {
    FilasDeProductos filas(bd, conexion, texto);
    if (!filas.abrir(QStringLiteral("productos"), QStringLiteral("COUNT(*),COUNT(DISTINCT Clave)")) ||
        !filas.siguiente())
        return fallo(filas);
    productosEnCatalogo = filas.texto(0).toInt();
    if (filas.texto(1).toInt() == productosEnCatalogo)
        return true;
    // Codes that products share (no key on Clave) or that are NULL, which a lookup takes for "".
    compartidas = {QString()};
    if (!filas.abrir(QStringLiteral("productos AS p JOIN (SELECT Clave FROM productos GROUP BY Clave "
                                    "HAVING COUNT(*) > 1) AS d ON p.Clave = d.Clave"),
                     QStringLiteral("p.Clave")))
        return fallo(filas);
    while (filas.siguiente())
        compartidas.insert(filas.texto(0));
    return filas.error().isEmpty() || fallo(filas);
}

bool Exportador::exportarTodos() {
    resultado.total = productosEnCatalogo;
    avance.Label3(QString::number(resultado.total));
    avance.ProcesarEventos();

    // A shared code's line is what a lookup of that code gives, found before the catalogue is read, whose
    // query holds the connection until its last row.
    QHash<QString, QByteArray> deSuCodigo;
    for (const QString& clave : std::as_const(compartidas)) {
        bool hallado = false;
        if (!buscarUno(clave, deSuCodigo[clave], hallado))
            return false;
    }
    // The whole catalogue in one query, in code order, read as the server sends it.
    FilasDeProductos filas(bd, conexion, texto);
    if (!filas.abrir(QStringLiteral("productos ORDER BY Clave"), listaSelect))
        return fallo(filas);
    QByteArray linea;
    for (qint32 numero = 1; filas.siguiente(); ++numero) {
        if (interrumpido()) {
            filas.abandonar();
            return false;
        }
        if (tocaMostrar(numero))
            mostrarProducto(numero, filas.texto(0), filas.texto(1));
        const auto compartida =
            deSuCodigo.isEmpty() ? deSuCodigo.cend() : deSuCodigo.constFind(filas.texto(0));
        if (compartida != deSuCodigo.cend()) {
            escribir(filas.utf8(0), *compartida);
            continue;
        }
        linea.clear();
        componerLinea(filas, linea);
        escribir(filas.utf8(0), linea);
    }
    return filas.error().isEmpty() || fallo(filas);
}

bool Exportador::exportarLista(ProductosDelArchivo& lista) {
    resultado.total = lista.cuenta();
    avance.Label3(QString::number(resultado.total));
    avance.ProcesarEventos();

    const bool recorrer = static_cast<qint64>(lista.cuenta()) * kListadosPorRecorrido >= productosEnCatalogo;
    const qint32 ventana = recorrer ? std::max(nCodigosPorRecorrido, 1) : std::max(lista.cuenta(), 1);
    qint32 numero = 0;
    QList<ProductoListado> bloque;
    bloque.reserve(kCodigosPorBloque);
    for (qint32 desde = 0; desde < lista.cuenta(); desde += ventana) {
        std::optional<LineasDeLaLista> recorrido;
        if (recorrer) {
            recorrido.emplace(std::min(ventana, lista.cuenta() - desde));
            if (!saltar(lista, desde) || !recorrerCatalogo(lista, ventana, *recorrido))
                return false;
        }
        LineasDeLaLista* lineas = recorrido ? &*recorrido : nullptr;
        if (!saltar(lista, desde))
            return false;
        ProductoListado producto;
        for (qint32 i = 0; i < ventana && lista.siguiente(producto); ++i) {
            bloque.append(producto);
            if (bloque.size() == kCodigosPorBloque) {
                if (!exportarBloque(bloque, numero, lineas))
                    return false;
                bloque.clear();
            }
        }
        if (!exportarBloque(bloque, numero, lineas))
            return false;
        bloque.clear();
    }
    return listaEntera(lista);
}

bool Exportador::saltar(ProductosDelArchivo& lista, qint32 productos) {
    lista.reiniciar();
    QByteArray clave;
    qint32 saltados = 0;
    while (saltados < productos && lista.siguienteClave(clave))
        ++saltados;
    return listaEntera(lista);
}

bool Exportador::recorrerCatalogo(ProductosDelArchivo& lista, qint32 codigos, LineasDeLaLista& lineas) {
    QByteArray clave;
    for (qint32 i = 0; i < codigos && lista.siguienteClave(clave); ++i)
        lineas.agregarCodigo(clave);
    if (!listaEntera(lista))
        return false;
    FilasDeProductos filas(bd, conexion, texto);
    if (!filas.abrir(QStringLiteral("productos"), listaSelect))
        return fallo(filas);
    QByteArray linea;
    while (filas.siguiente()) {
        if (interrumpido()) {
            filas.abandonar();
            return false;
        }
        if (ritmo.toca())
            avance.ProcesarEventos();
        const QByteArrayView clave = filas.utf8(0);
        LineasDeLaLista::Codigo* codigo = lineas.buscado(clave);
        if (codigo == nullptr || (!compartidas.isEmpty() && compartidas.contains(filas.texto(0))))
            continue;
        linea.clear();
        componerLinea(filas, linea);
        if (!lineas.guardar(*codigo, clave, linea)) {
            filas.abandonar();
            break;
        }
    }
    if (!filas.error().isEmpty())
        return fallo(filas);
    if (lineas.terminar())
        return true;
    porQue = QStringLiteral("no se pudo escribir un archivo temporal (%1)").arg(lineas.error());
    return false;
}

// The block's products are written for the listed codes they carry exactly as listed. A listed code that
// no product carries so (written in another letter case, no longer in the catalogue, or shared by two
// products) is looked up alone, as the database compares codes, unless one query for all such codes of
// the block finds nothing: every listed code gets what a lookup of that code finds.
bool Exportador::exportarBloque(const QList<ProductoListado>& bloque, qint32& numero,
                                LineasDeLaLista* recorrido) {
    if (bloque.isEmpty())
        return true;
    // The line of each listed product as a product carrying its code exactly finds it.
    std::vector<std::optional<QByteArray>> halladas(static_cast<size_t>(bloque.size()));
    if (recorrido != nullptr) {
        QList<QByteArray> claves;
        claves.reserve(bloque.size());
        for (const ProductoListado& producto : bloque)
            claves.append(producto.clave.toUtf8());
        recorrido->lineas(claves, halladas);
    } else {
        QStringList claves;
        QSet<QString> vistas;
        for (const ProductoListado& producto : bloque)
            if (!vistas.contains(producto.clave)) {
                vistas.insert(producto.clave);
                claves << producto.clave;
            }
        QHash<QString, QByteArray> lineas;
        bool alguno = false;
        if (!buscarVarios(claves, lineas, alguno))
            return false;
        for (qsizetype i = 0; i < bloque.size(); ++i)
            if (const auto linea = lineas.constFind(bloque[i].clave); linea != lineas.cend())
                halladas[i] = *linea;
    }
    QStringList faltan;
    QSet<QString> vistas;
    for (qsizetype i = 0; i < bloque.size(); ++i)
        if (!halladas[i] && !vistas.contains(bloque[i].clave)) {
            vistas.insert(bloque[i].clave);
            faltan << bloque[i].clave;
        }
    QHash<QString, QByteArray> deOtraForma;
    bool otraForma = false;
    if (!faltan.isEmpty() && !buscarVarios(faltan, deOtraForma, otraForma))
        return false;
    QByteArray sola;
    for (qsizetype i = 0; i < bloque.size(); ++i) {
        const ProductoListado& producto = bloque[i];
        if (interrumpido())
            return false;
        if (tocaMostrar(++numero))
            mostrarProducto(numero, producto.clave, producto.textoDeDescripcion());
        // A listed product is known by its code as listed.
        const QByteArray clave = alEscribir ? producto.clave.toUtf8() : QByteArray();
        if (halladas[i]) {
            escribir(clave, *halladas[i]);
        } else if (otraForma) {
            sola.clear();
            bool hallado = false;
            if (!buscarUno(producto.clave, sola, hallado))
                return false;
            escribir(clave, sola);
        }
    }
    return true;
}

bool Exportador::buscarVarios(const QStringList& claves, QHash<QString, QByteArray>& lineas, bool& alguno) {
    QStringList literales;
    for (const QString& clave : claves)
        literales << literalSql(conexion, clave);
    FilasDeProductos filas(bd, conexion, texto);
    if (!filas.abrir(QStringLiteral("productos WHERE Clave IN (") + literales.join(QLatin1Char(',')) +
                         QLatin1Char(')'),
                     listaSelect))
        return fallo(filas);
    alguno = false;
    while (filas.siguiente()) {
        alguno = true;
        const QString clave = filas.texto(0);
        if (!compartidas.contains(clave))
            componerLinea(filas, lineas[clave]);
    }
    return filas.error().isEmpty() || fallo(filas);
}

bool Exportador::buscarUno(const QString& clave, QByteArray& linea, bool& hallado) {
    FilasDeProductos filas(bd, conexion, texto);
    if (!filas.abrir(QStringLiteral("productos WHERE Clave=") + literalSql(conexion, clave) +
                         QStringLiteral(" LIMIT 1"),
                     listaSelect))
        return fallo(filas);
    hallado = filas.siguiente();
    if (hallado)
        componerLinea(filas, linea);
    return filas.error().isEmpty() || fallo(filas);
}

bool Exportador::listaEntera(const ProductosDelArchivo& lista) {
    porQue = lista.error();
    return porQue.isEmpty();
}

bool Exportador::fallo(const FilasDeProductos& filas) {
    porQue = QStringLiteral("la consulta de productos falló: ") + filas.error();
    resultado.deLaBase = true;
    return false;
}

void Exportador::componerLinea(const FilasDeProductos& filas, QByteArray& linea) const {
    for (const Columna& columna : columnas) {
        ArchivoDeExportacion::valor(linea);
        if (columna.tipo == Columna::Tipo::Directa)
            filas.agregar(columna.indice, linea);
        else if (columna.tipo == Columna::Tipo::Referencia)
            filas.agregarNombre(columna.indice, columna.nombres, linea);
    }
    if (!columnas.empty())
        ArchivoDeExportacion::finDeLinea(linea);
}

void Exportador::escribir(QByteArrayView clave, const QByteArray& linea) {
    if (linea.isEmpty())
        return;
    archivo->escribir(linea);
    ++resultado.escritos;
    if (alEscribir)
        alEscribir(clave, linea);
}

bool Exportador::interrumpido() {
    if (!avance.Interrumpido())
        return false;
    porQue = QStringLiteral("el envío se interrumpió");
    return true;
}

void Exportador::avisar(const QString& aviso) {
    spdlog::warn("Envío: {}", aviso.toStdString());
    avance.Aviso(aviso);
}

bool Exportador::tocaMostrar(qint32 numero) {
    // The last product is always shown, so the count visibly reaches the total.
    return ritmo.toca() || numero == resultado.total;
}

void Exportador::mostrarProducto(qint32 numero, const QString& clave, const QString& descripcion) {
    avance.Label3(QStringLiteral("Producto %1 de %2:\r\n%3\r\n%4")
                      .arg(numero)
                      .arg(resultado.total)
                      .arg(clave, descripcion));
    avance.ProcesarEventos();
}
