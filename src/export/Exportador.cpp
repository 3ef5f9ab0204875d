#include "export/Exportador.h"

#include "components/BasesDD.h"
#include "export/Avance.h"
#include "export/ListasDeArchivo.h"
#include "export/SqlSeguro.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <spdlog/spdlog.h>

namespace {

constexpr int kProductosPorBloque = 5000;

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
    const auto listaDeProductos =
        listaDeCampos ? leerListaDeProductos(archivoProductos, &porQue) : std::nullopt;
    if (!listaDeProductos)
        return resultado;
    // The program never leaves a product list without products: such a file was cut short or edited by
    // hand, and says nothing about which products the shop wants.
    if (listaDeProductos->existe && listaDeProductos->valores.isEmpty()) {
        porQue = QStringLiteral("la lista de productos %1 no tiene ningún producto completo, un código y su "
                                "descripción en dos líneas; bórrela para enviar todos los productos")
                     .arg(QDir::toNativeSeparators(archivoProductos));
        return resultado;
    }
    // Without a field list the shop still gets the usual columns, never an empty catalogue.
    const QStringList campos = listaDeCampos->existe ? listaDeCampos->valores : camposPorDefecto();
    if (!prepararColumnas(campos)) {
        porQue = QStringLiteral("no se pudo leer la tabla productos: ") + bd.cError;
        resultado.deLaBase = true;
        return resultado;
    }

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
    const bool leido = listaDeProductos->existe ? exportarLista(listaDeProductos->valores) : exportarTodos();
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

bool Exportador::exportarTodos() {
    ado::Recordset rs;
    qint32 total = 0;
    qint32 distintas = -1;
    if (bd.AbrirTabla(rs, conexion, QStringLiteral("productos"),
                      QStringLiteral("COUNT(*),COUNT(DISTINCT Clave)"))) {
        total = rs.Fields(0).Value().toInt();
        distintas = rs.Fields(1).Value().toInt();
    }
    bd.CierraTabla(rs);
    // Reading block after block from the last code is exact only when no two products share a code as
    // the database compares codes (MySQL's without regard to case), and none is NULL.
    // Otherwise each code is looked up on its own, as a product list is: the first row of a code, once
    // for each row that carries it, so the file is the same whichever way it was made.
    if (distintas != total)
        return exportarLista(listaDeTodos());
    resultado.total = total;
    avance.Label3(QString::number(resultado.total));
    avance.ProcesarEventos();

    // The catalogue is read in code order, a block at a time, each block starting after the last code
    // of the one before: few round trips, and memory that does not grow with the catalogue.
    qint32 numero = 0;
    QString desde;
    for (bool primero = true;; primero = false) {
        const QString condicion =
            primero ? QString() : QStringLiteral(" WHERE Clave>") + literalSql(conexion, desde);
        const QString fuente = QStringLiteral("productos") + condicion +
                               QStringLiteral(" ORDER BY Clave LIMIT %1").arg(kProductosPorBloque);
        if (!bd.AbrirTabla(rs, conexion, fuente, listaSelect))
            break;
        for (; !rs.Eof(); rs.MoveNext()) {
            if (interrumpido())
                return false;
            desde = rs.Fields(0).Value().toString();
            mostrarProducto(++numero, desde, rs.Fields(1).Value().toString());
            escribirProducto(rs);
        }
    }
    return terminoBien(rs);
}

QList<ProductoDeLista> Exportador::listaDeTodos() {
    QList<ProductoDeLista> lista;
    ado::Recordset rs;
    if (bd.AbrirTabla(rs, conexion, QStringLiteral("productos ORDER BY Clave"),
                      QStringLiteral("Clave,Descrip")))
        for (; !rs.Eof(); rs.MoveNext())
            lista.append({rs.Fields(0).Value().toString(), rs.Fields(1).Value().toString()});
    bd.CierraTabla(rs);
    return lista;
}

bool Exportador::exportarLista(const QList<ProductoDeLista>& lista) {
    resultado.total = static_cast<qint32>(lista.size());
    avance.Label3(QString::number(resultado.total));
    avance.ProcesarEventos();

    ado::Recordset rs;
    qint32 numero = 0;
    for (const ProductoDeLista& producto : lista) {
        if (interrumpido())
            return false;
        mostrarProducto(++numero, producto.clave, producto.descripcion);
        const QString fuente = QStringLiteral("productos WHERE Clave=") +
                               literalSql(conexion, producto.clave) + QStringLiteral(" LIMIT 1");
        if (bd.AbrirTabla(rs, conexion, fuente, listaSelect))
            escribirProducto(rs);
        else if (rs.State() != ado::adStateOpen)
            return terminoBien(rs);
        // Open with no row: the listed product is no longer in the catalogue and gives no line.
    }
    return terminoBien(rs);
}

// No rows leaves the recordset open; a failed statement (a connection lost half-way) leaves it closed.
bool Exportador::terminoBien(ado::Recordset& rs) {
    const bool bien = rs.State() == ado::adStateOpen && rs.Error().isEmpty();
    if (!bien) {
        porQue = rs.Error().isEmpty() ? QStringLiteral("la consulta de productos falló: ") + bd.cError
                                      : rs.Error();
        resultado.deLaBase = true;
    }
    bd.CierraTabla(rs);
    return bien;
}

void Exportador::escribirProducto(const ado::Recordset& rs) {
    QStringList valores;
    valores.reserve(static_cast<qsizetype>(columnas.size()));
    for (const Columna& columna : columnas) {
        switch (columna.tipo) {
        case Columna::Tipo::Falta:
            valores << QString();
            break;
        case Columna::Tipo::Directa:
            valores << texto(rs.Fields(columna.indice));
            break;
        case Columna::Tipo::Referencia:
            valores << columna.nombres(rs.Fields(columna.indice).Value());
            break;
        }
    }
    if (!valores.isEmpty()) {
        const QByteArrayView linea = archivo->escribirLinea(valores);
        ++resultado.escritos;
        // The product's code as the database has it: Clave is always the first column read.
        if (alEscribir)
            alEscribir(rs.Fields(0).Value().toString(), linea);
    }
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

void Exportador::mostrarProducto(qint32 numero, const QString& clave, const QString& descripcion) {
    // The last product is always shown, so the count visibly reaches the total.
    if (!ritmo.toca() && numero != resultado.total)
        return;
    avance.Label3(QStringLiteral("Producto %1 de %2:\r\n%3\r\n%4")
                      .arg(numero)
                      .arg(resultado.total)
                      .arg(clave, descripcion));
    avance.ProcesarEventos();
}
