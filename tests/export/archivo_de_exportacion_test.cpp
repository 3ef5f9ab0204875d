// The export file, byte for byte, on both database back ends.

#include "entorno.h"
#include "export/clsDeProductos.h"
#include "modulo/Modulo.h"
#include "tienda_de_prueba.h"

#include <QFile>
#include <QSqlQuery>

namespace {

using puntoDeVenta::Producto;

class ArchivoDeExportacion : public ::testing::TestWithParam<Motor> {
protected:
    void preparar(qint32 productosDeMuestra = 0) {
        const bool listo = tienda.preparar(GetParam(), productosDeMuestra);
        REQUERIR_SERVIDOR(listo, tienda.motivo().toStdString());
    }
    QByteArray lineas(std::initializer_list<const char*> lista) {
        QByteArray bytes;
        for (const char* linea : lista)
            bytes += QByteArray(linea) + "\r\n";
        return bytes;
    }
    TiendaDePrueba tienda;
};

TEST_P(ArchivoDeExportacion, CadaValorEntreComillasTalComoEsta) {
    preparar();
    if (IsSkipped() || HasFailure())
        return;
    Producto martillo = productoDePrueba("A100", "MARTILLO 16 OZ \"GRANDE\", MANGO");
    martillo.Marca = 1;       // La Económica
    martillo.Linea = 1;       // Ferretería
    martillo.MonedaVenta = 3; // €
    martillo.Existencia = 12;
    martillo.Precio3 = 85.5;
    Producto cafe = productoDePrueba("A200", QStringLiteral("Café ★ molido"));
    cafe.Marca = 99; // no such brand
    cafe.Existencia = 0.25;
    cafe.Precio3 = 1234567.89;
    cafe.Observaciones = QStringLiteral("línea 1, línea 2");
    tienda.base.insertar({martillo, cafe});
    tienda.camposAExportar({"Clave", "Descrip", "MARCA", "linea", "MonedaVenta", "UnidadMedida", "Existencia",
                            "Precio3", "Observaciones", "NoEsColumna", "Clave"});

    tienda.enviar();

    // Windows-1252: "é" is E9, "€" is 80, and the star it cannot hold is "?".
    EXPECT_EQ(tienda.exportado(),
              QByteArray("\"A100\",\"MARTILLO 16 OZ \"GRANDE\", MANGO\",\"La Econ\xF3mica\",\"Ferreter\xED"
                         "a\","
                         "\"\x80"
                         "\",\"\",\"12\",\"85.5\",\"\",\"\",\"A100\"\r\n"
                         "\"A200\",\"Caf\xE9 ? molido\",\"\",\"\",\"\",\"\",\"0.25\",\"1234567.89\","
                         "\"l\xEDnea 1, l\xEDnea 2\",\"\",\"A200\"\r\n"));
    EXPECT_EQ(tienda.publicado(), tienda.exportado());
}

TEST_P(ArchivoDeExportacion, TodoElCatalogoPorBloquesIgualQueProductoPorProducto) {
    // More products than one block of the catalogue read, so the block boundary is crossed.
    preparar(5003);
    if (IsSkipped() || HasFailure())
        return;
    tienda.camposAExportar(puntoDeVenta::columnasDeProductos() + QStringList{"linea", "sublinea", "marca",
                                                                             "unidadmedida", "monedacompra",
                                                                             "monedaventa"});

    tienda.enviar();
    const QByteArray todos = tienda.exportado();
    EXPECT_EQ(todos.count("\r\n"), 5003);
    EXPECT_FALSE(QFile::exists(modulo().cArchivoProductos)) << "sin lista no queda lista";

    QList<ProductoDeLista> lista;
    QSqlQuery consulta(tienda.base.db());
    ASSERT_TRUE(consulta.exec("SELECT Clave, Descrip FROM productos ORDER BY Clave"));
    while (consulta.next())
        lista.append({consulta.value(0).toString(), consulta.value(1).toString()});
    tienda.productosAExportar(lista);

    tienda.enviar();
    EXPECT_EQ(tienda.exportado(), todos);
}

TEST_P(ArchivoDeExportacion, UnCodigoConComillasEsUnDatoYNuncaSql) {
    preparar();
    if (IsSkipped() || HasFailure())
        return;
    tienda.base.insertar({productoDePrueba("O'Brien", "Llave inglesa"),
                          productoDePrueba("C:\\dos\\", "Barra"), productoDePrueba("x' OR '1'='1", "Raro"),
                          productoDePrueba("Z9", "No listado")});
    tienda.camposAExportar({"Clave", "Descrip"});
    tienda.productosAExportar({{"O'Brien", ""},
                               {"C:\\dos\\", ""},
                               {"x' OR '1'='1", ""},
                               {"nada' OR 'a'='a", ""},
                               {"Z9'; DELETE FROM productos; --", ""}});

    tienda.enviar();

    EXPECT_EQ(tienda.exportado(), lineas({"\"O'Brien\",\"Llave inglesa\"", "\"C:\\dos\\\",\"Barra\"",
                                          "\"x' OR '1'='1\",\"Raro\""}));
    QSqlQuery cuenta(tienda.base.db());
    ASSERT_TRUE(cuenta.exec("SELECT COUNT(*) FROM productos") && cuenta.next());
    EXPECT_EQ(cuenta.value(0).toInt(), 4);
}

TEST_P(ArchivoDeExportacion, SinListaDeCamposSalenLosCincoDeSiempre) {
    preparar();
    if (IsSkipped() || HasFailure())
        return;
    Producto p = productoDePrueba("B1", "Brocha");
    p.Marca = 4;
    p.Existencia = 3;
    p.Precio1 = 10;
    p.Precio3 = 7.25;
    tienda.base.insertar({p});
    ASSERT_FALSE(QFile::exists(modulo().cArchivoCampos));

    tienda.enviar();

    EXPECT_EQ(tienda.exportado(), lineas({"\"B1\",\"Brocha\",\"Do\xF1"
                                          "a P\xED"
                                          "a\",\"3\",\"7.25\""}));
}

TEST_P(ArchivoDeExportacion, ListaDeProductosImparUsaLosParesCompletosYSaltaLosQueNoEstan) {
    preparar();
    if (IsSkipped() || HasFailure())
        return;
    tienda.base.insertar({productoDePrueba("A1", "Uno"), productoDePrueba("A3", "Tres")});
    tienda.camposAExportar({"Descrip"});
    QFile lista(modulo().cArchivoProductos);
    ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
    lista.write("A3\r\nTres\r\nBORRADO\r\nYa no existe\r\nA1\r\nUno\r\nA2\r\n");
    lista.close();

    tienda.enviar();

    EXPECT_EQ(tienda.exportado(), lineas({"\"Tres\"", "\"Uno\""}));
    // The missing product still counts: the last progress text is the third of three.
    ASSERT_FALSE(tienda.avance.label3.filter("Producto ").isEmpty());
    EXPECT_EQ(tienda.avance.label3.filter("Producto ").last(), "Producto 3 de 3:\r\nA1\r\nUno");
    EXPECT_TRUE(QFile::exists(modulo().cArchivoProductos)) << "una lista existente no se toca";
}

TEST_P(ArchivoDeExportacion, ListaDeCamposVaciaDaUnArchivoVacioQueTambienSePublica) {
    preparar(20);
    if (IsSkipped() || HasFailure())
        return;
    QFile campos(modulo().cArchivoCampos);
    ASSERT_TRUE(campos.open(QIODevice::WriteOnly));
    campos.close();

    tienda.enviar();

    EXPECT_TRUE(QFile::exists(tienda.ruta("catalogo.csv")));
    EXPECT_EQ(tienda.exportado(), QByteArray());
    EXPECT_EQ(tienda.publicado(), QByteArray());
    ASSERT_FALSE(tienda.avance.label5.isEmpty());
    EXPECT_EQ(tienda.avance.label5.last(), "De 'catalogo.csv': bytes copiados 0 de 0");
}

INSTANTIATE_TEST_SUITE_P(Motores, ArchivoDeExportacion, ::testing::Values(Motor::MariaDB, Motor::SQLite),
                         nombreDelMotor);

// Dates are a MySQL type; the embedded SQLite catalogue keeps them as text.
TEST(ArchivoDeExportacionMariaDB, FechasEnFormatoCortoConLaHoraSiNoEsMedianoche) {
    TiendaDePrueba tienda;
    const bool listo = tienda.preparar(Motor::MariaDB);
    REQUERIR_SERVIDOR(listo, tienda.motivo().toStdString());
    Producto medianoche = productoDePrueba("D1", "Medianoche");
    medianoche.FechaAlta = QDateTime(QDate(2024, 3, 1), QTime(0, 0));
    Producto tarde = productoDePrueba("D2", "Tarde");
    tarde.FechaAlta = QDateTime(QDate(2024, 3, 1), QTime(14, 30, 5));
    tienda.base.insertar({medianoche, tarde, productoDePrueba("D3", "Sin fecha")});
    tienda.camposAExportar({"FechaAlta"});

    tienda.enviar();

    const QLocale regional = QLocale::system();
    const QString dia = regional.toString(QDate(2024, 3, 1), QLocale::ShortFormat);
    EXPECT_EQ(QString::fromLatin1(tienda.exportado()),
              QStringLiteral("\"%1\"\r\n\"%1 14:30:05\"\r\n\"\"\r\n").arg(dia));
}

// With no key on Clave, codes the database takes for one another (letter case) or that repeat: without a
// product list each row gives what the list of every code would, the first row of its code.
TEST(ArchivoDeExportacionMariaDB, ClavesRepetidasComoConLaListaDeTodas) {
    TiendaDePrueba tienda;
    const bool listo = tienda.preparar(Motor::MariaDB);
    REQUERIR_SERVIDOR(listo, tienda.motivo().toStdString());
    tienda.base.ejecutar("ALTER TABLE productos DROP PRIMARY KEY");
    tienda.base.insertar({productoDePrueba("A1", "Uno"), productoDePrueba("A2", "Dos"),
                          productoDePrueba("a2", "Otra"), productoDePrueba("A3", "Tres"),
                          productoDePrueba("A3", "Repetido")});
    tienda.camposAExportar({"Clave", "Descrip"});

    tienda.enviar();

    EXPECT_EQ(tienda.exportado(), QByteArray("\"A1\",\"Uno\"\r\n\"A2\",\"Dos\"\r\n\"A2\",\"Dos\"\r\n"
                                             "\"A3\",\"Tres\"\r\n\"A3\",\"Tres\"\r\n"));
    EXPECT_EQ(tienda.avance.label3.filter("Producto ").last().left(15), "Producto 5 de 5");
}

} // namespace
