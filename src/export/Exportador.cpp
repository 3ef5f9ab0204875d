#include "export/Exportador.h"

#include "components/BasesDD.h"
#include "export/Avance.h"
#include "export/ListasDeArchivo.h"
#include "export/SqlSeguro.h"

namespace {

const QStringList& camposPorDefecto() {
    static const QStringList campos = {QStringLiteral("Clave"), QStringLiteral("Descrip"), QStringLiteral("Marca"),
                                       QStringLiteral("Existencia"), QStringLiteral("Precio3")};
    return campos;
}

qsizetype indiceSinMayusculas(const QStringList& nombres, const QString& nombre) {
    for (qsizetype i = 0; i < nombres.size(); ++i)
        if (nombres[i].compare(nombre, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

} // namespace

Exportador::Exportador(BasesDD& bd, ado::Connection& conexion, Avance& avance)
    : bd(bd), conexion(conexion), avance(avance), referencias(bd, conexion, texto) {}

ResultadoDeExportacion Exportador::exportar(const QString& archivoProductos, const QString& archivoCampos,
                                            const QString& archivoSalida) {
    resultado = {};
    // Without a field list the shop still gets the usual columns, never an empty catalogue.
    const QStringList campos = leerListaDeCampos(archivoCampos).value_or(camposPorDefecto());
    if (!prepararColumnas(campos)) {
        resultado.error = QStringLiteral("no se pudo leer la tabla productos");
        return resultado;
    }

    ArchivoDeExportacion salida(archivoSalida);
    if (!salida.abrir()) {
        resultado.error = salida.error();
        return resultado;
    }
    archivo = &salida;
    const std::optional<QStringList> lista = leerListaDeProductos(archivoProductos);
    const bool leido = lista ? exportarLista(*lista) : exportarTodos();
    archivo = nullptr;

    resultado.bytes = salida.bytes();
    if (!leido) {
        salida.descartar();
        return resultado;
    }
    if (!salida.terminar()) {
        resultado.error = salida.error();
        return resultado;
    }
    resultado.completo = true;
    return resultado;
}

bool Exportador::prepararColumnas(const QStringList& campos) {
    ado::Recordset rs;
    if (!bd.AbrirTabla(rs, conexion, QStringLiteral("productos LIMIT 0"))) {
        bd.CierraTabla(rs);
        return false;
    }
    QStringList existentes;
    for (qint32 i = 0; i < rs.Fields().Count(); ++i)
        existentes << rs.Fields(i).Name();
    bd.CierraTabla(rs);

    // The SELECT list: Clave and Descrip for the progress text, then each column a field needs, once.
    // Only names read from the table itself reach the SQL text.
    QStringList seleccion = {QStringLiteral("Clave"), QStringLiteral("Descrip")};
    columnas.clear();
    for (const QString& campo : campos) {
        Columna columna;
        const qsizetype existente = indiceSinMayusculas(existentes, campo);
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
                columna.referencia = *referencia;
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
    if (bd.AbrirTabla(rs, conexion, QStringLiteral("productos"), QStringLiteral("COUNT(*)")) && !rs.Eof())
        resultado.total = rs.Fields(0).Value().toInt();
    bd.CierraTabla(rs);
    avance.Label3(QString::number(resultado.total));
    avance.ProcesarEventos();

    if (!bd.AbrirTabla(rs, conexion, QStringLiteral("productos ORDER BY Clave"), listaSelect)) {
        resultado.error = rs.Error();
        bd.CierraTabla(rs);
        return false;
    }
    qint32 numero = 0;
    for (; !rs.Eof(); rs.MoveNext()) {
        mostrarProducto(++numero, rs.Fields(0).Value().toString(), rs.Fields(1).Value().toString());
        escribirProducto(rs);
    }
    // A connection lost half-way ends the rows early: that is a failure, not the end of the catalogue.
    resultado.error = rs.Error();
    bd.CierraTabla(rs);
    return resultado.error.isEmpty();
}

bool Exportador::exportarLista(const QStringList& lista) {
    resultado.total = static_cast<qint32>(lista.size() / 2);
    avance.Label3(QString::number(resultado.total));
    avance.ProcesarEventos();

    ado::Recordset rs;
    for (qint32 numero = 1; numero <= resultado.total; ++numero) {
        const QString& clave = lista[2 * (numero - 1)];
        mostrarProducto(numero, clave, lista[2 * (numero - 1) + 1]);
        const QString fuente = QStringLiteral("productos WHERE Clave=") + literalSql(conexion, clave) +
                               QStringLiteral(" LIMIT 1");
        if (!bd.AbrirTabla(rs, conexion, fuente, listaSelect)) {
            resultado.error = rs.Error();
            bd.CierraTabla(rs);
            return false;
        }
        // A listed product that is no longer in the catalogue gives no line.
        if (!rs.Eof())
            escribirProducto(rs);
    }
    bd.CierraTabla(rs);
    return true;
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
            valores << texto(rs.Fields(columna.indice).Value());
            break;
        case Columna::Tipo::Referencia:
            valores << referencias.nombre(columna.referencia, rs.Fields(columna.indice).Value());
            break;
        }
    }
    if (!valores.isEmpty()) {
        archivo->escribirLinea(valores);
        ++resultado.escritos;
    }
}

void Exportador::mostrarProducto(qint32 numero, const QString& clave, const QString& descripcion) {
    if (!ritmo.toca())
        return;
    avance.Label3(QStringLiteral("Producto %1 de %2:\r\n%3\r\n%4").arg(numero).arg(resultado.total).arg(clave, descripcion));
    avance.ProcesarEventos();
}
