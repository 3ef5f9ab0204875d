// The sample catalogue that the demo, the tests and the benchmarks start from.

#include "bd_base.h"
#include "components/BasesDDSql.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class CatalogoDeMuestra : public ConBaseDePrueba {
protected:
    CatalogoDeMuestra() : ConBaseDePrueba(1234) {}
};

TEST_P(CatalogoDeMuestra, TieneLasFilasYLosTextosQueLeeElPrograma) {
    BasesDDSql bd;
    base.configurar(bd);
    ado::Connection conexion;
    ASSERT_TRUE(bd.AbrirBdD(conexion, bd.cMiBase));
    ado::Recordset rs;
    const struct {
        const char* tabla;
        qint32 filas;
    } cuentas[] = {{"productos", 1234}, {"lineas", 6},  {"sublineas", 16},    {"marcas", 6},
                   {"medidas", 6},      {"monedas", 3}, {"configuracion", 3}, {"textos", 2}};
    for (const auto& cuenta : cuentas) {
        ASSERT_TRUE(
            bd.AbrirTabla(rs, conexion, QLatin1String(cuenta.tabla), QStringLiteral("COUNT(*) AS n")));
        EXPECT_EQ(rs.Fields(QStringLiteral("n")).Value().toInt(), cuenta.filas) << cuenta.tabla;
    }

    // The input box of the field list tab shows these two texts.
    ASSERT_TRUE(bd.AbrirTabla(rs, conexion, QStringLiteral("textos ORDER BY Numero DESC")));
    EXPECT_EQ(rs.Fields(QStringLiteral("Numero")).Value().toInt(), 1072);
    EXPECT_EQ(rs.Fields(QStringLiteral("Texto")).Value().toString(),
              QStringLiteral("Escriba el número de orden del campo:"));
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(QStringLiteral("Numero")).Value().toInt(), 382);
    EXPECT_EQ(rs.Fields(QStringLiteral("Texto")).Value().toString(), QStringLiteral("Orden del campo"));

    // Every reference a sample product makes is to a row that exists, except brand 0 ("no brand").
    const struct {
        const char* columna;
        const char* tabla;
    } referencias[] = {{"Linea", "lineas"},         {"SubLinea", "sublineas"},   {"Marca", "marcas"},
                       {"UnidadMedida", "medidas"}, {"MonedaCompra", "monedas"}, {"MonedaVenta", "monedas"}};
    for (const auto& r : referencias) {
        ASSERT_TRUE(bd.AbrirTabla(
            rs, conexion,
            QStringLiteral("productos p WHERE p.%1 > 0 AND NOT EXISTS (SELECT 1 FROM %2 r WHERE r.Id = p.%1)")
                .arg(QLatin1String(r.columna), QLatin1String(r.tabla)),
            QStringLiteral("COUNT(*) AS n")));
        EXPECT_EQ(rs.Fields(QStringLiteral("n")).Value().toInt(), 0) << r.columna;
    }
    // The mix the export must cope with: products without brand, NULL sub-lines and bar codes, the euro sign.
    ASSERT_TRUE(bd.AbrirTabla(
        rs, conexion, QStringLiteral("productos"),
        QStringLiteral("SUM(Marca = 0) AS sinMarca, SUM(SubLinea IS NULL) AS sinSubLinea, "
                       "SUM(CodigoBarras IS NULL) AS sinCodigo, SUM(Descrip LIKE '%€%') AS conEuro")));
    for (const char* cuenta : {"sinMarca", "sinSubLinea", "sinCodigo", "conEuro"})
        EXPECT_GT(rs.Fields(QLatin1String(cuenta)).Value().toInt(), 0) << cuenta;
}

INSTANTIATE_TEST_SUITE_P(Motores, CatalogoDeMuestra, ::testing::Values(Motor::MariaDB, Motor::SQLite),
                         nombreDelMotor);

// The demo's catalogue: a file the database component opens, and never one that is overwritten.
TEST(CatalogoSQLite, SeCreaUnaVezYSeAbreConBasesDD) {
    QTemporaryDir carpeta;
    const QString archivo = carpeta.filePath(QStringLiteral("demo.sqlite"));
    QString error;
    ASSERT_TRUE(puntoDeVenta::crearCatalogoSQLite(archivo, 40, &error)) << error.toStdString();
    EXPECT_FALSE(puntoDeVenta::crearCatalogoSQLite(archivo, 5, &error));

    BasesDDSql bd;
    bd.cRuta = QStringLiteral("sqlite:") + carpeta.path();
    ado::Connection conexion;
    ASSERT_TRUE(bd.AbrirBdD(conexion, QStringLiteral("demo")));
    ado::Recordset rs;
    ASSERT_TRUE(bd.AbrirTabla(rs, conexion, QStringLiteral("productos"), QStringLiteral("COUNT(*) AS n")));
    EXPECT_EQ(rs.Fields(QStringLiteral("n")).Value().toInt(), 40);
    EXPECT_EQ(bd.LeerConfig(QStringLiteral("DescripDetallada"), conexion), QStringLiteral("1"));
}

} // namespace
