// The sample catalogue that the demo, the tests and the benchmarks start from, and reading it through
// the database component: the same cases on MariaDB and SQLite.

#include "bd_base.h"
#include "components/BasesDDSql.h"
#include "modulo/Bitacora.h"

#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

using puntoDeVenta::productoDeMuestra;

class Lectura : public ConBaseDePrueba {
protected:
    Lectura() : ConBaseDePrueba(30) {}
    QVariant valor(const char* campo) const { return rs.Fields(QLatin1String(campo)).Value(); }
    qint32 contar(const QString& tabla) {
        QSqlQuery consulta(base.db());
        EXPECT_TRUE(consulta.exec(u"SELECT COUNT(*) FROM "_s + tabla) && consulta.next())
            << tabla.toStdString();
        return consulta.value(0).toInt();
    }

    BasesDDSql bd;
    ado::Connection conexion;
    ado::Recordset rs;
};

TEST_P(Lectura, LeeFilasReferenciasYAjustesComoSeGuardaron) {
    base.configurar(bd);
    ASSERT_TRUE(bd.AbrirBdD(conexion, bd.cMiBase));
    // Descending, so that rows that merely came back in the order they were stored would not pass.
    // Values as stored, NULLs as NULL, accents and the euro sign intact; the field list file names
    // columns in whatever case the user typed.
    ASSERT_TRUE(bd.AbrirTabla(rs, conexion, u"productos ORDER BY Clave DESC"_s));
    qint32 numero = 30;
    for (; !rs.Eof(); rs.MoveNext(), --numero) {
        ASSERT_GT(numero, 0);
        const auto muestra = productoDeMuestra(numero);
        SCOPED_TRACE(muestra.Clave.toStdString());
        EXPECT_EQ(valor("clave").toString(), muestra.Clave);
        EXPECT_EQ(valor("SubLinea").isNull(), !muestra.SubLinea.has_value());
        EXPECT_EQ(valor("CodigoBarras").isNull(), muestra.CodigoBarras.isNull());
        EXPECT_EQ(valor("CodigoBarras").toString(), muestra.CodigoBarras);
        EXPECT_EQ(valor("FechaAlta").toDateTime(), muestra.FechaAlta);
        EXPECT_EQ(valor("ObServaciones").toString(), muestra.Observaciones);
    }
    EXPECT_EQ(numero, 0);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(valor("Clave").isNull());

    // A character outside the Basic Multilingual Plane needs utf8mb4 end to end; codes compare
    // without regard to letter case.
    base.insertar({productoDePrueba(u"U1"_s, u"Llave 🔧 ñandú «€»"_s)});
    ASSERT_TRUE(bd.AbrirTabla(rs, conexion, u"productos WHERE Clave='u1'"_s, u"Descrip"_s));
    EXPECT_EQ(rs.Fields().Count(), 1);
    EXPECT_EQ(rs.Fields(u"descrip"_s).Name(), u"Descrip"_s);
    EXPECT_EQ(valor("Descrip").toString(), u"Llave 🔧 ñandú «€»"_s);

    // A broken query fails, is logged, and leaves the connection usable.
    QTemporaryDir carpeta;
    iniciarBitacora(carpeta.path());
    EXPECT_FALSE(bd.AbrirTabla(rs, conexion, u"productos WHERE Clave='O'Brien' LIMIT 1"_s));
    EXPECT_EQ(rs.State(), ado::adStateClosed);
    EXPECT_TRUE(rs.Eof());
    QFile bitacora(carpeta.filePath(u"catalogo-ftp.log"_s));
    EXPECT_TRUE(bitacora.open(QIODevice::ReadOnly) && bitacora.readAll().contains("O'Brien"));

    // Settings by name in any case; NULL, missing or without a connection: empty.
    EXPECT_EQ(bd.LeerConfig(u"DESCRIPDETALLADA"_s, conexion), u"1"_s);
    EXPECT_EQ(bd.LeerConfig(u"RutaRespaldo"_s, conexion), QString());
    EXPECT_EQ(bd.LeerConfig(u"NoExiste"_s, conexion), QString());
    bd.CierraBdD(conexion);
    EXPECT_EQ(bd.LeerConfig(u"DescripDetallada"_s, conexion), QString());
}

TEST_P(Lectura, ElCatalogoDeMuestraTieneLaVariedadQueLaExportacionEncuentra) {
    // The mix the export must cope with: products without brand, NULL sub-lines and bar codes (most
    // products do have one, as in a shop), the euro sign.
    for (const char* condicion :
         {"Marca = 0", "SubLinea IS NULL", "CodigoBarras IS NULL", "Descrip LIKE '%€%'"})
        EXPECT_GT(contar(u"productos WHERE "_s + QString::fromUtf8(condicion)), 0) << condicion;
    EXPECT_LT(contar(u"productos WHERE CodigoBarras IS NULL"_s), 30 / 2);

    // A code already in the catalogue is refused, and the caller is told why.
    QString error;
    EXPECT_FALSE(puntoDeVenta::insertarProductos(base.db(), {puntoDeVenta::productoDeMuestra(7)}, &error));
    EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Motores, Lectura, ::testing::Values(Motor::MariaDB, Motor::SQLite), nombreDelMotor);

} // namespace
