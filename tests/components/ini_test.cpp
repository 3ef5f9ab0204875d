// Nodex.libKtfa: the settings file as Windows' profile functions read and write it; and the product
// and field list files.

#include "components/ArchivoIni.h"
#include "components/Registro.h"
#include "config_entorno.h"
#include "export/ListasDeArchivo.h"
#include "winapi/ansi.h"

#include <QDir>
#include <QStringEncoder>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

namespace {

const QString kConf = u"Configuración"_s;

class LibKtfaTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        ktfa.reset(dynamic_cast<LibKtfa*>(crearComponente(u"NODEX.LIBKTFA"_s).release()));
        ASSERT_NE(ktfa, nullptr);
    }
    std::unique_ptr<LibKtfa> ktfa;
    QString ini = ruta(u"catalogo-ftp.ini"_s);
    QString listaDeProductos = ruta(u"ListaProductosReja.dat"_s);
    QString campos = ruta(u"ListaDeCampos.dat"_s);
};

TEST_F(LibKtfaTest, leeLaClaveComoWindows) {
    const QString texto = u"[Configuración]\r\nContraseña del FTP=año €\r\n"_s;
    const std::vector<std::tuple<const char*, QByteArray, QString>> casos{
        {"mayúsculas", "[CONFIGURACIÓN]\r\nCONTRASEÑA DEL FTP=abc\r\n", u"abc"_s},
        {"blancos", "  [ Configuración ]\r\n  Contraseña del FTP  =  a b  \r\n", u"a b"_s},
        {"comillas", "[Configuración]\r\nContraseña del FTP=\" a \"\r\n", u" a "_s},
        {"igual en el valor", "[Configuración]\r\nContraseña del FTP=v1:a=b\r\n", u"v1:a=b"_s},
        {"otra sección", "[Otra]\r\nContraseña del FTP=no\r\n[Configuración]\r\nX=1\r\n", QString()},
        {"comentario", "[Configuración]\r\n;Contraseña del FTP=no\r\n", QString()},
        {"fines Unix", "[Configuración]\nContraseña del FTP=abc\n", u"abc"_s},
        {"fines Mac", "[Configuración]\rUsuario del FTP=u\rContraseña del FTP=abc\r", u"abc"_s},
        {"un fin Mac entre CR LF", "[Configuración]\r\nA=u\rContraseña del FTP=abc\r\n", u"abc"_s},
        {"UTF-8 con marca", "\xEF\xBB\xBF" + texto.toUtf8(), u"año €"_s},
        {"línea ANSI entre UTF-8", "; se\xF1or\r\n" + texto.toUtf8(), u"año €"_s},
        {"ANSI", aAnsi(texto), u"año €"_s},
        {"UTF-16", "\xFF\xFE" + QStringEncoder(QStringConverter::Utf16LE).encode(texto), u"año €"_s}};
    for (const auto& [caso, contenido, esperado] : casos) {
        escribir(ini, contenido);
        EXPECT_EQ(ktfa->LeeIni(kConf, u"Contraseña del FTP"_s, ini), esperado) << caso;
    }
    EXPECT_EQ(ktfa->LeeIni(kConf, u"X"_s, ruta(u"no-existe.ini"_s)), QString());
}

// Writing one key leaves every other line (comments, blank lines, other sections) as it was, with
// its own bytes, whatever encoding and line ends the file has; what is written reads back the same.
TEST_F(LibKtfaTest, escribirSoloCambiaLaLineaEscrita) {
    escribir(ini, u"; Ajustes\r\n[frmInicial]\r\nLinea=10\r\n\r\n[Configuración]\r\n; a mano\r\n"
                  u"url del ftp=viejo\r\n\r\n; de otro programa\r\n[Otra]\r\nx=1\r\n"_s.toUtf8());
    ktfa->EscribeIni(u"CONFIGURACIÓN"_s, u"URL del FTP"_s, u"nuevo"_s, ini);
    ktfa->EscribeIni(kConf, u"Directorio"_s, u"/tienda/"_s, ini);
    ktfa->EscribeIni(u"Nueva"_s, u"k"_s, u"v"_s, ini);
    EXPECT_EQ(QString::fromUtf8(leer(ini)),
              u"; Ajustes\r\n[frmInicial]\r\nLinea=10\r\n\r\n[Configuración]\r\n; a mano\r\n"
              u"URL del FTP=nuevo\r\nDirectorio=/tienda/\r\n\r\n; de otro programa\r\n[Otra]\r\nx=1\r\n"
              u"\r\n[Nueva]\r\nk=v\r\n"_s);

    const QByteArray conAnsi = u"[Configuración]\r\nA=sí\r\n"_s.toUtf8() + "; se\xF1or\r\n";
    const std::vector<std::tuple<const char*, QByteArray, QByteArray>> casos{
        {"UTF-8 y ANSI", conAnsi + "B=viejo\r\n[Otra]\r\n", conAnsi + u"B=año\r\n[Otra]\r\n"_s.toUtf8()},
        {"ANSI", aAnsi(u"[Configuración]\r\nA=sí\r\n"_s), aAnsi(u"[Configuración]\r\nA=sí\r\nB=año\r\n"_s)},
        {"marca y fines Unix", u"\uFEFF[Configuración]\nA=1\n"_s.toUtf8(),
         u"\uFEFF[Configuración]\nA=1\nB=año\n"_s.toUtf8()},
        {"primera línea vacía", "\n[Configuración]\n", u"\n[Configuración]\nB=año\n"_s.toUtf8()},
        {"fines Mac", "[Configuración]\rA=1\rB=viejo\r[Otra]\r",
         u"[Configuración]\rA=1\rB=año\r[Otra]\r"_s.toUtf8()},
        {"última línea Mac", u"[Configuración]\r\nA=1\r"_s.toUtf8(),
         u"[Configuración]\r\nA=1\rB=año\r\n"_s.toUtf8()},
        {"última línea sin fin", u"[Configuración]\r\nA=1"_s.toUtf8(),
         u"[Configuración]\r\nA=1\r\nB=año\r\n"_s.toUtf8()}};
    for (const auto& [caso, antes, despues] : casos) {
        escribir(ini, antes);
        ktfa->EscribeIni(kConf, u"B"_s, u"año"_s, ini);
        EXPECT_EQ(leer(ini), despues) << caso;
    }

    // A value keeps its blanks, quotes and separators; a line break would end it, so it becomes a blank.
    for (const QString& valor :
         {u" con blancos "_s, u"\"entre comillas\""_s, u"a=b;c"_s, QString(), u"1\r\n2"_s}) {
        ktfa->EscribeIni(kConf, u"B"_s, valor, ini);
        EXPECT_EQ(ktfa->LeeIni(kConf, u"b"_s, ini), QString(valor).replace(u"\r\n"_s, u" "_s))
            << valor.toStdString();
    }
    EXPECT_EQ(leer(ini).count("B="), 1);
}

// Pairs of ANSI lines, code then description, each value on one line whatever it holds.
TEST_F(LibKtfaTest, listaDeProductosEnParesDeLineasAnsi) {
    ASSERT_TRUE(escribirListaDeProductos(listaDeProductos, {{u"A"_s, u"dos\r\nlíneas\ny 漢"_s}}));
    EXPECT_EQ(leer(listaDeProductos), QByteArray("A\r\ndos l\xEDneas y ?\r\n"));

    const std::vector<std::pair<QByteArray, QList<ProductoDeLista>>> casos{
        {"A\r\n\r\nB\r\nsin fin", {{"A", ""}, {"B", "sin fin"}}}, // empty description
        {"A\nuno\nB\ndos\n", {{"A", "uno"}, {"B", "dos"}}},       // edited elsewhere
        {"A\runo\r\nB\r\ndos\rC", {{"A", "uno"}, {"B", "dos"}}},  // old Mac line ends, mixed
        {"", {}}};
    for (const auto& [bytes, esperado] : casos) {
        escribir(listaDeProductos, bytes);
        EXPECT_EQ(leerListaDeProductos(listaDeProductos).value().valores, esperado) << bytes.toStdString();
        // Read a few bytes at a time, a CR LF falls across two reads and a line across several.
        for (const qsizetype parte : {1, 2, 3}) {
            ProductosDelArchivo archivo(listaDeProductos, parte);
            QList<ProductoDeLista> leidos;
            for (ProductoDeLista producto; archivo.siguiente(producto);)
                leidos.append(producto);
            EXPECT_EQ(leidos, esperado) << bytes.toStdString() << " de " << parte << " en " << parte;
            EXPECT_EQ(archivo.cuenta(), esperado.size());
        }
    }
    EXPECT_FALSE(leerListaDeProductos(ruta(u"no-existe.dat"_s)).value().existe);

    // A list saved again while the export reads it stops the reading: it would mix two lists.
    escribir(listaDeProductos, "A\r\nuno\r\nB\r\ndos\r\n");
    ProductosDelArchivo archivo(listaDeProductos, 4);
    ProductoDeLista producto;
    EXPECT_TRUE(archivo.siguiente(producto));
    escribir(listaDeProductos, "A\r\nuno\r\nC\r\ntres y más\r\n");
    EXPECT_FALSE(archivo.siguiente(producto));
    EXPECT_TRUE(archivo.error().contains(u"cambió"_s)) << archivo.error().toStdString();
}

// The selected fields numbered "- (n)" go first, in that order, then the other selected ones; a number
// beyond the count of selected fields, or one already taken, leaves its field out.
TEST_F(LibKtfaTest, listaDeCamposPrimeroLosNumeradosLuegoLosDemas) {
    const std::vector<std::tuple<const char*, QList<CampoDeLista>, QByteArray>> casos{
        {"falta un número",
         {{"a - (1)", true}, {"c", true}, {"b - (3)", true}, {"d", false}},
         "a\r\nb\r\nc\r\n"},
        {"número mayor", {{"x - (5)", true}, {"y", true}, {"z", true}}, "y\r\nz\r\n"},
        {"número repetido", {{"p - (1)", true}, {"q - (1)", true}}, "p\r\n"}};
    for (const auto& [caso, elementos, archivo] : casos) {
        ASSERT_TRUE(escribirListaDeCampos(campos, elementos, u" - "_s, *ktfa)) << caso;
        EXPECT_EQ(leer(campos), archivo) << caso;
    }
    // Read back as written, in ANSI like the product list.
    ASSERT_TRUE(escribirListaDeCampos(campos, {{u"Descripción"_s, true}}, u" - "_s, *ktfa));
    escribir(campos, leer(campos) + " Precio3 \r\n");
    EXPECT_EQ(leerListaDeCampos(campos).value().valores, QStringList({u"Descripción"_s, u" Precio3 "_s}));
}

#ifdef Q_OS_UNIX // a file size limit plays the full disk
// A full disk half-way through a write leaves the old file whole, the settings and a list file alike.
TEST_F(LibKtfaTest, unaEscrituraFallidaDejaElArchivoAnterior) {
    const QByteArray anterior = u"[Configuración]\r\nA=1\r\n"_s.toUtf8();
    escribir(ini, anterior);
    escribir(listaDeProductos, anterior);
    rlimit limite{};
    getrlimit(RLIMIT_FSIZE, &limite);
    const rlimit lleno{static_cast<rlim_t>(anterior.size()), limite.rlim_max};
    const auto senal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lleno);
    const bool escritoIni = ini::escribir(ini, kConf, u"B"_s, QString(4096, u'x'));
    const bool escritaLista = escribirListaDeProductos(listaDeProductos, {{u"A"_s, QString(4096, u'x')}});
    setrlimit(RLIMIT_FSIZE, &limite);
    std::signal(SIGXFSZ, senal);
    EXPECT_FALSE(escritoIni || escritaLista);
    EXPECT_EQ(leer(ini), anterior);
    EXPECT_EQ(leer(listaDeProductos), anterior);
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left";
}
#endif

} // namespace
