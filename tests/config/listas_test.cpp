// The product list and field list files, byte for byte.

#include "components/Nucleo.h"
#include "config_entorno.h"
#include "export/ListasDeArchivo.h"

using namespace Qt::StringLiterals;

namespace {

class ListasTest : public EntornoDeConfiguracion {
protected:
    QString productos = ruta(u"ListaProductosReja.dat"_s);
    QString campos = ruta(u"ListaDeCampos.dat"_s);
    LibKtfaNucleo ktfa;
};

TEST_F(ListasTest, productosEnParesDeLineasAnsi) {
    const QList<ProductoDeLista> lista{{u"A"_s, u"Descripción de A"_s}, {u"B-01"_s, u"Ñandú 1€"_s}};
    ASSERT_TRUE(escribirListaDeProductos(productos, lista));
    EXPECT_EQ(leer(productos), QByteArray("A\r\nDescripci\xF3"
                                          "n de A\r\nB-01\r\n\xD1"
                                          "and\xFA 1\x80\r\n"));
    EXPECT_EQ(leerListaDeProductos(productos), lista);
}

TEST_F(ListasTest, unValorSiempreOcupaUnaLinea) {
    ASSERT_TRUE(escribirListaDeProductos(productos, {{u"A"_s, u"dos\r\nlíneas\ny 漢"_s}}));
    EXPECT_EQ(leer(productos), QByteArray("A\r\ndos l\xED"
                                          "neas y ?\r\n"));
}

TEST_F(ListasTest, leerProductos) {
    const std::vector<std::pair<QByteArray, QList<ProductoDeLista>>> casos{
        {"A\r\nDesc A\r\nB\r\n", {{"A", "Desc A"}}},              // last line without its pair
        {"A\r\n\r\nB\r\nsin fin", {{"A", ""}, {"B", "sin fin"}}}, // empty description
        {"A\nuno\nB\ndos\n", {{"A", "uno"}, {"B", "dos"}}},       // edited elsewhere
        {"C\r\nCaf\xE9\r\n", {{"C", u"Café"_s}}},
        {"", {}}};
    for (const auto& [bytes, esperado] : casos) {
        escribir(productos, bytes);
        EXPECT_EQ(leerListaDeProductos(productos), esperado) << bytes.toStdString();
    }
    EXPECT_TRUE(leerListaDeProductos(ruta(u"no-existe.dat"_s)).isEmpty());
}

struct Campos {
    const char* caso;
    QList<CampoDeLista> elementos;
    QByteArray archivo;
};

void PrintTo(const Campos& c, std::ostream* os) {
    *os << c.caso;
}

class ListaDeCamposTest : public ListasTest, public ::testing::WithParamInterface<Campos> {};

TEST_P(ListaDeCamposTest, primeroLosNumeradosLuegoLosDemas) {
    ASSERT_TRUE(escribirListaDeCampos(campos, GetParam().elementos, u" - "_s, ktfa));
    EXPECT_EQ(leer(campos), GetParam().archivo);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ListaDeCamposTest,
    ::testing::Values(
        Campos{"NumeradosEnOrden",
               {{"Clave - (2)", true}, {"Descrip - (1)", true}, {"Marca", true}},
               "Descrip\r\nClave\r\nMarca\r\n"},
        Campos{"FaltaUnNumero", {{"a - (1)", true}, {"c", true}, {"b - (3)", true}}, "a\r\nb\r\nc\r\n"},
        Campos{"NumeroMayorQueLosSeleccionados", {{"x - (5)", true}, {"y", true}, {"z", true}}, "y\r\nz\r\n"},
        Campos{"NumeroRepetido", {{"p - (1)", true}, {"q - (1)", true}}, "p\r\n"},
        Campos{"SoloLosSeleccionados",
               {{"Clave - (1)", false}, {"Descrip", true}, {"Existencia", false}, {u"Precio3 - (1)"_s, true}},
               "Precio3\r\nDescrip\r\n"},
        Campos{"NombreConAcento",
               {{u"Descripción"_s, true}},
               "Descripci\xF3"
               "n\r\n"},
        Campos{"NadaSeleccionado", {{"Clave", false}}, ""}),
    [](const auto& info) { return std::string(info.param.caso); });

TEST_F(ListasTest, leerCamposTalCual) {
    escribir(campos, "Clave\r\n Precio3 \r\nDescripci\xF3"
                     "n\r\n");
    EXPECT_EQ(leerListaDeCampos(campos), QStringList({u"Clave"_s, u" Precio3 "_s, u"Descripción"_s}));
}

} // namespace
