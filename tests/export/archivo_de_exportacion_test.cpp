// The export file, byte for byte, on both database back ends.

#include "export/Exportador.h"
#include "tienda_de_prueba.h"

#include <QSqlQuery>
#include <random>

namespace {

using puntoDeVenta::Producto;

// One send with the field list and product list as the shop left them (nullptr: no such file).
struct Envio {
    const char* nombre;
    const char* campos;
    const char* productos;
    QByteArray esperado;
    const char* ultimoProducto; // the last progress text naming a product, when it says something
};

class ArchivoDeExportacion : public ::testing::TestWithParam<Motor> {
protected:
    void SetUp() override { tienda.abrir(GetParam(), 5003); }
    TiendaDePrueba tienda;
};

TEST_P(ArchivoDeExportacion, CadaEnvioSegunLasListasDeLaTienda) {
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
    Producto brocha = productoDePrueba("B1", "Brocha");
    brocha.Marca = 4;
    brocha.Existencia = 3;
    brocha.Precio1 = 10;
    brocha.Precio3 = 7.25;
    tienda.base.insertar({martillo, cafe, brocha, productoDePrueba("O'Brien", "Llave inglesa"),
                          productoDePrueba("C:\\dos\\", "Barra"), productoDePrueba("x' OR '1'='1", "Raro"),
                          productoDePrueba("A1", "Uno"), productoDePrueba("A3", "Tres")});

    // Numbers take the decimal separator of the regional settings the program runs under.
    const QLocale antes;
    QLocale::setDefault(QLocale(QStringLiteral("es_ES")));
    const Envio envios[] = {
        // Windows-1252: "é" is E9, "€" is 80, and the star it cannot hold is "?". Unknown columns and
        // references are empty; a field named twice is exported twice.
        {"ValoresEntreComillasTalComoSon",
         "Clave\r\nDescrip\r\nMARCA\r\nlinea\r\nMonedaVenta\r\nUnidadMedida\r\nExistencia\r\nPrecio3\r\n"
         "Observaciones\r\nNoEsColumna\r\nClave\r\n",
         "A100\r\n\r\nA200\r\n\r\n",
         "\"A100\",\"MARTILLO 16 OZ \"GRANDE\", MANGO\",\"La Econ\xF3mica\",\"Ferreter\xED"
         "a\",\"\x80\",\"\",\"12\",\"85,5\",\"\",\"\",\"A100\"\r\n"
         "\"A200\",\"Caf\xE9 ? molido\",\"\",\"\",\"\",\"\",\"0,25\",\"1234567,89\","
         "\"l\xEDnea 1, l\xEDnea 2\",\"\",\"A200\"\r\n",
         nullptr},
        {"UnCodigoConComillasEsUnDatoYNuncaSql", "Clave\r\nDescrip\r\n",
         "O'Brien\r\n\r\nC:\\dos\\\r\n\r\nx' OR '1'='1\r\n\r\nnada' OR 'a'='a\r\n\r\n"
         "Z9'; DELETE FROM productos; --\r\n\r\n",
         "\"O'Brien\",\"Llave inglesa\"\r\n\"C:\\dos\\\",\"Barra\"\r\n\"x' OR '1'='1\",\"Raro\"\r\n",
         nullptr},
        {"SinListaDeCamposLosCincoDeSiempre", nullptr, "B1\r\n\r\n",
         "\"B1\",\"Brocha\",\"Do\xF1"
         "a P\xED"
         "a\",\"3\",\"7,25\"\r\n",
         nullptr},
        // The odd last line is no product; a product no longer there is skipped but still counted.
        {"ListaImparYProductosQueYaNoEstan", "Descrip\r\n",
         "A3\r\nTres\r\nBORRADO\r\nYa no existe\r\nA1\r\nUno\r\nA2\r\n", "\"Tres\"\r\n\"Uno\"\r\n",
         "Producto 3 de 3:\r\nA1\r\nUno"},
        {"ListaDeCamposVaciaDaUnArchivoVacio", "", nullptr, "", nullptr},
    };
    for (const Envio& envio : envios) {
        SCOPED_TRACE(envio.nombre);
        escribirArchivo(modulo().cArchivoCampos, envio.campos);
        escribirArchivo(modulo().cArchivoProductos, envio.productos);

        tienda.enviar();

        EXPECT_EQ(tienda.exportado(), envio.esperado);
        EXPECT_EQ(tienda.publicado(), envio.esperado);
        EXPECT_EQ(tienda.avance.label5.last(),
                  QStringLiteral("De 'catalogo.csv': bytes copiados %1 de %1").arg(envio.esperado.size()));
        if (envio.ultimoProducto) {
            EXPECT_EQ(tienda.avance.label3.filter("Producto ").last(), envio.ultimoProducto);
        }
        // The send neither makes a product list nor touches the shop's.
        EXPECT_EQ(QFile::exists(modulo().cArchivoProductos), envio.productos != nullptr);
    }
    QLocale::setDefault(antes);
    QSqlQuery cuenta(tienda.base.db());
    ASSERT_TRUE(cuenta.exec("SELECT COUNT(*) FROM productos") && cuenta.next());
    EXPECT_EQ(cuenta.value(0).toInt(), 5011) << "a code in the list ran as SQL";

    // The whole catalogue, read in blocks (more products than one block here), row by row.
    escribirArchivo(modulo().cArchivoCampos,
                    (puntoDeVenta::columnasDeProductos() +
                     QStringList{"linea", "sublinea", "marca", "unidadmedida", "monedacompra", "monedaventa"})
                        .join("\r\n")
                        .toUtf8());
    escribirArchivo(modulo().cArchivoProductos, nullptr);
    tienda.enviar();
    EXPECT_EQ(tienda.exportado().count("\r\n"), 5011);

    // Those products listed in random order, some twice, among codes no longer there (one every
    // `ausente` lines; 0: none): each line as the catalogue had it, in the order of the list.
    QList<QByteArray> lineas = tienda.exportado().split('\n');
    lineas.removeLast();
    std::shuffle(lineas.begin(), lineas.end(), std::mt19937(21));
    lineas += lineas.mid(0, 700);
    const auto enviarLista = [&](qsizetype cuantas, qsizetype ausente) {
        QByteArray lista, esperado;
        for (qsizetype i = 0; i < cuantas; ++i) {
            if (ausente && i % ausente == 0)
                lista += "YA NO ESTA " + QByteArray::number(i) + "\r\n\r\n";
            lista += lineas[i].mid(1, lineas[i].indexOf("\",\"") - 1) + "\r\nx\r\n";
            esperado += lineas[i] + '\n';
        }
        escribirArchivo(modulo().cArchivoProductos, lista);
        tienda.enviar();
        EXPECT_TRUE(tienda.exportado() == esperado) << cuantas; // not EXPECT_EQ: it would print both whole
    };
    // Matched against the catalogue 1,500 codes at a time, so that windows end inside a block of lookups.
    const qint32 ventana = std::exchange(Exportador::nCodigosPorRecorrido, 1500);
    enviarLista(lineas.size(), 900);
    Exportador::nCodigosPorRecorrido = ventana;
    // A small part of the catalogue, looked up by code a thousand at a time: a thousand codes, so that no
    // codes are left for a last block.
    enviarLista(1000, 0);
}

INSTANTIATE_TEST_SUITE_P(Motores, ArchivoDeExportacion, ::testing::Values(Motor::MariaDB, Motor::SQLite),
                         nombreDelMotor);

// Dates are a MySQL type (the embedded SQLite catalogue keeps them as text). With no key on Clave, codes
// the database takes for one another (letter case) or that repeat give, without a product list, what
// the list of every code would: the first row of their code.
TEST(ArchivoDeExportacionMariaDB, FechasEnFormatoCortoYClavesRepetidas) {
    TiendaDePrueba tienda;
    if (!tienda.abrir(Motor::MariaDB))
        return;
    tienda.base.ejecutar("ALTER TABLE productos DROP PRIMARY KEY");
    Producto medianoche = productoDePrueba("D1", "Medianoche");
    medianoche.FechaAlta = QDateTime(QDate(2024, 3, 1), QTime(0, 0));
    Producto tarde = productoDePrueba("D2", "Tarde");
    tarde.FechaAlta = QDateTime(QDate(2024, 3, 1), QTime(14, 30, 5));
    tienda.base.insertar({medianoche, tarde, productoDePrueba("d2", "Otra"),
                          productoDePrueba("D3", "Sin fecha"), productoDePrueba("D3", "Repetido")});
    escribirArchivo(modulo().cArchivoCampos, "Clave\r\nDescrip\r\nFechaAlta\r\n");

    tienda.enviar();

    const QString dia = QLocale::system().toString(QDate(2024, 3, 1), QLocale::ShortFormat);
    EXPECT_EQ(QString::fromLatin1(tienda.exportado()),
              QStringLiteral("\"D1\",\"Medianoche\",\"%1\"\r\n\"D2\",\"Tarde\",\"%1 14:30:05\"\r\n"
                             "\"D2\",\"Tarde\",\"%1 14:30:05\"\r\n\"D3\",\"Sin fecha\",\"\"\r\n"
                             "\"D3\",\"Sin fecha\",\"\"\r\n")
                  .arg(dia));
    EXPECT_EQ(tienda.avance.label3.filter("Producto ").last().left(15), "Producto 5 de 5");

    // A listed code in another letter case, or shared by two rows, gives the row a lookup of that code
    // alone finds; each listing of a code its line.
    escribirArchivo(modulo().cArchivoProductos,
                    "d2\r\n\r\nd1\r\n\r\nNO\r\n\r\nD3\r\n\r\nD2\r\n\r\nd1\r\n\r\n");
    const QString lineaTarde = QStringLiteral("\"D2\",\"Tarde\",\"%1 14:30:05\"\r\n").arg(dia);
    const QString lineaMedianoche = QStringLiteral("\"D1\",\"Medianoche\",\"%1\"\r\n").arg(dia);
    const QString esperado =
        lineaTarde + lineaMedianoche + "\"D3\",\"Sin fecha\",\"\"\r\n" + lineaTarde + lineaMedianoche;
    tienda.enviar();
    EXPECT_EQ(QString::fromLatin1(tienda.exportado()), esperado);
    // The same list as a small part of a larger catalogue, whose products are then looked up by code.
    QList<Producto> otros;
    for (qint32 i = 1; i <= 40; ++i)
        otros << puntoDeVenta::productoDeMuestra(i);
    tienda.base.insertar(otros);
    tienda.enviar();
    EXPECT_EQ(QString::fromLatin1(tienda.exportado()), esperado);
}

} // namespace
