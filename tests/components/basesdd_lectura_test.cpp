// Reading the catalogue through the database component, the same cases on MariaDB and SQLite.

#include "bd_base.h"
#include "bd_registro.h"
#include "components/BasesDDSql.h"

#include <gtest/gtest.h>

namespace {

using puntoDeVenta::productoDeMuestra;

constexpr qint32 totalDeProductos = 30;

class Lectura : public ConBaseDePrueba {
protected:
    Lectura() : ConBaseDePrueba(totalDeProductos) {}
    void SetUp() override {
        ConBaseDePrueba::SetUp();
        if (IsSkipped() || HasFailure())
            return;
        base.configurar(bd);
        ASSERT_TRUE(bd.AbrirBdD(conexion, bd.cMiBase));
    }
    QString texto(const char* campo) const { return rs.Fields(QLatin1String(campo)).Value().toString(); }

    BasesDDSql bd;
    ado::Connection conexion;
    ado::Recordset rs;
};

// The field list tab lists the columns of "productos LIMIT 0", in table order.
TEST_P(Lectura, SinFilasDaLosNombresDeLasColumnasEnOrden) {
    EXPECT_FALSE(bd.AbrirTabla(rs, conexion, QStringLiteral("productos LIMIT 0")));
    EXPECT_EQ(rs.State(), ado::adStateOpen);
    EXPECT_TRUE(rs.Eof());
    const QStringList esperadas = puntoDeVenta::columnasDeProductos();
    ASSERT_EQ(rs.Fields().Count(), esperadas.size());
    for (qint32 i = 0; i < rs.Fields().Count(); ++i)
        EXPECT_EQ(rs.Fields(i).Name(), esperadas.at(i));
    EXPECT_EQ(esperadas.first(), QStringLiteral("Clave"));
}

// The field list file names columns in whatever case the user typed; the value is found anyway and
// the column keeps its own spelling.
TEST_P(Lectura, LosCamposSeEncuentranPorNombreEnCualquierLetra) {
    const auto muestra = productoDeMuestra(25);
    ASSERT_TRUE(bd.AbrirTabla(rs, conexion, QStringLiteral("productos WHERE Clave='P000025' LIMIT 1")));
    EXPECT_EQ(texto("clave"), muestra.Clave);
    EXPECT_EQ(texto("DESCRIP"), muestra.Descrip);
    EXPECT_EQ(rs.Fields(QStringLiteral("precio3")).Value().toDouble(), muestra.Precio3);
    EXPECT_EQ(rs.Fields(QStringLiteral("observaciones")).Name(), QStringLiteral("Observaciones"));
    EXPECT_EQ(texto("ObServaciones"), muestra.Observaciones);
    EXPECT_TRUE(rs.Fields(QStringLiteral("NoEsColumna")).Value().isNull());
}

// Values as stored, NULLs as NULL, accents and the euro sign intact, on both back ends.
TEST_P(Lectura, LosValoresLleganComoSeGuardaron) {
    for (const qint32 numero : {13, 21, 25}) {
        const auto muestra = productoDeMuestra(numero);
        ASSERT_TRUE(
            bd.AbrirTabla(rs, conexion, QStringLiteral("productos WHERE Clave='%1'").arg(muestra.Clave)));
        SCOPED_TRACE(muestra.Clave.toStdString());
        EXPECT_EQ(texto("Descrip"), muestra.Descrip);
        EXPECT_EQ(rs.Fields(QStringLiteral("Marca")).Value().toInt(), muestra.Marca);
        EXPECT_EQ(rs.Fields(QStringLiteral("SubLinea")).Value().isNull(), !muestra.SubLinea.has_value());
        EXPECT_EQ(rs.Fields(QStringLiteral("CodigoBarras")).Value().isNull(), muestra.CodigoBarras.isNull());
        EXPECT_EQ(texto("CodigoBarras"), muestra.CodigoBarras);
        EXPECT_EQ(rs.Fields(QStringLiteral("Existencia")).Value().toDouble(), muestra.Existencia);
        EXPECT_EQ(rs.Fields(QStringLiteral("Costo")).Value().toDouble(), muestra.Costo);
        EXPECT_EQ(rs.Fields(QStringLiteral("FechaAlta")).Value().toDateTime(), muestra.FechaAlta);
    }
    EXPECT_TRUE(productoDeMuestra(13).Descrip.endsWith(QStringLiteral("€")));
    EXPECT_TRUE(productoDeMuestra(21).FechaAlta.time() == QTime(0, 0));

    // Beyond the sample: a character outside the Basic Multilingual Plane needs utf8mb4 end to end.
    base.insertar({productoDePrueba(QStringLiteral("U1"), QStringLiteral("Llave 🔧 ñandú «€»"))});
    ASSERT_TRUE(
        bd.AbrirTabla(rs, conexion, QStringLiteral("productos WHERE Clave='U1'"), QStringLiteral("Descrip")));
    EXPECT_EQ(texto("Descrip"), QStringLiteral("Llave 🔧 ñandú «€»"));
}

// Descending, so that rows that merely came back in the order they were stored would not pass.
TEST_P(Lectura, RecorreLasFilasEnOrdenHastaElFinal) {
    ASSERT_TRUE(bd.AbrirTabla(rs, conexion, QStringLiteral("productos ORDER BY Clave DESC"),
                              QStringLiteral("Clave,Descrip")));
    EXPECT_EQ(rs.Fields().Count(), 2);
    qint32 esperado = totalDeProductos;
    for (; !rs.Eof(); rs.MoveNext(), --esperado) {
        ASSERT_GT(esperado, 0);
        EXPECT_EQ(texto("Clave"), productoDeMuestra(esperado).Clave);
        EXPECT_EQ(texto("Descrip"), productoDeMuestra(esperado).Descrip);
    }
    EXPECT_EQ(esperado, 0);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Fields(QStringLiteral("Clave")).Value().isNull());
}

// The export reads a product and, with its row still open, looks up its brand on the same
// connection; the point-of-sale compares codes without regard to letter case.
TEST_P(Lectura, BuscaReferenciasConElProductoAbierto) {
    ado::Recordset referencia;
    for (qint32 numero = 1; numero <= totalDeProductos; ++numero) {
        const auto muestra = productoDeMuestra(numero);
        ASSERT_TRUE(bd.AbrirTabla(
            rs, conexion, QStringLiteral("productos WHERE Clave='%1' LIMIT 1").arg(muestra.Clave.toLower())));
        if (muestra.Marca > 0) {
            ASSERT_TRUE(bd.AbrirTabla(referencia, conexion,
                                      QStringLiteral("marcas WHERE Id=%1 LIMIT 1").arg(muestra.Marca)));
            EXPECT_EQ(referencia.Fields(QStringLiteral("Id")).Value().toInt(), muestra.Marca);
            EXPECT_FALSE(referencia.Fields(QStringLiteral("Marca")).Value().toString().isEmpty());
        }
        EXPECT_EQ(texto("Clave"), muestra.Clave);
    }
    // No row is a false result, as for a product no longer in the catalogue.
    EXPECT_FALSE(bd.AbrirTabla(referencia, conexion, QStringLiteral("marcas WHERE Id=0 LIMIT 1")));
    EXPECT_TRUE(referencia.Eof());
    EXPECT_TRUE(referencia.Fields(QStringLiteral("Marca")).Value().isNull());
}

TEST_P(Lectura, UnaConsultaErroneaFallaYQuedaEnElRegistro) {
    RegistroCapturado registro;
    EXPECT_FALSE(bd.AbrirTabla(rs, conexion, QStringLiteral("productos WHERE Clave='O'Brien' LIMIT 1")));
    EXPECT_EQ(rs.State(), ado::adStateClosed);
    EXPECT_TRUE(rs.Eof());
    EXPECT_NE(registro.texto().find("O'Brien"), std::string::npos) << registro.texto();
    // The connection is still usable afterwards.
    EXPECT_TRUE(bd.AbrirTabla(rs, conexion, QStringLiteral("productos")));
}

TEST_P(Lectura, LeerConfigDaElValorOVacio) {
    const struct {
        const char* nombre;
        QString valor;
    } casos[] = {
        {"DescripDetallada", QStringLiteral("1")},
        {"DESCRIPDETALLADA", QStringLiteral("1")},
        {"NombreEmpresa", QStringLiteral("Tlapalería «La Económica»")},
        {"RutaRespaldo", QString()}, // stored as NULL
        {"NoExiste", QString()},
    };
    for (const auto& caso : casos)
        EXPECT_EQ(bd.LeerConfig(QLatin1String(caso.nombre), conexion), caso.valor) << caso.nombre;
    bd.CierraBdD(conexion);
    EXPECT_EQ(bd.LeerConfig(QStringLiteral("DescripDetallada"), conexion), QString());
}

INSTANTIATE_TEST_SUITE_P(Motores, Lectura, ::testing::Values(Motor::MariaDB, Motor::SQLite), nombreDelMotor);

} // namespace
