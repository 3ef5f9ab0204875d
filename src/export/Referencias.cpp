#include "export/Referencias.h"

#include "components/BasesDD.h"
#include "export/TextoDeValor.h"
#include "modulo/Redondeo.h"

#include <array>
#include <utility>

namespace {

struct CampoDeReferencia {
    const char* campo;
    TablaDeReferencia referencia;
};

const std::array<CampoDeReferencia, 6>& camposDeReferencia() {
    static const std::array<CampoDeReferencia, 6> campos = {{
        {"linea", {QStringLiteral("lineas"), QStringLiteral("Linea")}},
        {"unidadmedida", {QStringLiteral("medidas"), QStringLiteral("Medida")}},
        {"marca", {QStringLiteral("marcas"), QStringLiteral("Marca")}},
        {"monedacompra", {QStringLiteral("monedas"), QStringLiteral("Abreviacion")}},
        {"monedaventa", {QStringLiteral("monedas"), QStringLiteral("Abreviacion")}},
        {"sublinea", {QStringLiteral("sublineas"), QStringLiteral("SubLinea")}},
    }};
    return campos;
}

} // namespace

std::optional<TablaDeReferencia> referenciaDeCampo(const QString& campo) {
    const QString minusculas = campo.toLower();
    for (const CampoDeReferencia& c : camposDeReferencia())
        if (minusculas == QLatin1String(c.campo))
            return c.referencia;
    return std::nullopt;
}

Referencias::Referencias(BasesDD& bd, ado::Connection& conexion, const TextoDeValor& texto,
                         std::function<void(const QString&)> avisar)
    : bd(bd), conexion(conexion), texto(texto), avisar(std::move(avisar)) {}

QString NombresPorId::operator()(const QVariant& id) const {
    // The Id as a whole number: a DECIMAL column's "1.00", a DOUBLE or a text column's "2" all name a row.
    bool esNumero = false;
    const double numero = id.toDouble(&esNumero);
    if (!esNumero || numero <= 0)
        return QString();
    return nombres.value(static_cast<qint64>(redondeoAlPar(numero)));
}

NombresPorId Referencias::tabla(const TablaDeReferencia& referencia) {
    const QString clave = referencia.tabla + QLatin1Char('.') + referencia.columna;
    const auto leida = tablas.constFind(clave);
    if (leida != tablas.constEnd())
        return *leida;
    QHash<qint64, QString> nombres;
    ado::Recordset rs;
    if (bd.AbrirTabla(rs, conexion, referencia.tabla, QStringLiteral("Id,") + referencia.columna)) {
        // An Id on two rows names the first, as a lookup of that Id with LIMIT 1 would find it.
        for (; !rs.Eof(); rs.MoveNext()) {
            const qint64 id = rs.Fields(0).Value().toLongLong();
            if (!nombres.contains(id))
                nombres.insert(id, texto(rs.Fields(1)));
        }
    } else if (rs.State() != ado::adStateOpen) {
        avisar(QStringLiteral("no se pudo leer la tabla %1 (%2); la columna %3 se envía vacía")
                   .arg(referencia.tabla, bd.cError, referencia.columna));
    }
    bd.CierraTabla(rs);
    return *tablas.insert(clave, NombresPorId(std::move(nombres)));
}
