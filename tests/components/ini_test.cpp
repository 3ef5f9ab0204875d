// Nodex.libKtfa: the settings file as Windows' profile functions read and write it, the leading number
// of a text, and the input masks of the configuration boxes.

#include "components/ArchivoIni.h"
#include "components/Registro.h"
#include "config_entorno.h"
#include "export/ListasDeArchivo.h"
#include "winapi/ansi.h"

#include <QDir>
#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

namespace {

class LibKtfaTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        auto creado = crearComponente(u"NODEX.LIBKTFA"_s);
        ktfa.reset(dynamic_cast<LibKtfa*>(creado.release()));
        ASSERT_NE(ktfa, nullptr);
        ini = ruta(u"catalogo-ftp.ini"_s);
    }
    std::unique_ptr<LibKtfa> ktfa;
    QString ini;
};

struct Lectura {
    const char* caso;
    QByteArray contenido;
    QString seccion;
    QString clave;
    QString esperado;
};

void PrintTo(const Lectura& l, std::ostream* os) {
    *os << l.caso;
}

class LeeIniTest : public LibKtfaTest, public ::testing::WithParamInterface<Lectura> {};

TEST_P(LeeIniTest, leeElValor) {
    escribir(ini, GetParam().contenido);
    EXPECT_EQ(ktfa->LeeIni(GetParam().seccion, GetParam().clave, ini), GetParam().esperado);
}

const QString kConf = u"Configuración"_s;

// Notepad's "Unicode": UTF-16 little-endian with its mark.
QByteArray enUtf16(const QString& texto) {
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : texto)
        bytes.append(static_cast<char>(c.unicode() & 0xFF)).append(static_cast<char>(c.unicode() >> 8));
    return bytes;
}
const QString kClave = u"Contraseña del FTP"_s;

INSTANTIATE_TEST_SUITE_P(
    Casos, LeeIniTest,
    ::testing::Values(
        Lectura{"SeccionEnMayusculasConAcento", "[CONFIGURACIÓN]\r\nCONTRASEÑA DEL FTP=abc\r\n", kConf,
                kClave, "abc"},
        Lectura{"BlancosAlrededor", "  [ Configuración ]\r\n  Contraseña del FTP  =  a b  \r\n", kConf,
                kClave, "a b"},
        Lectura{"ComillasQuitadas", "[Configuración]\r\nContraseña del FTP=\" a \"\r\n", kConf, kClave,
                " a "},
        Lectura{"IgualDentroDelValor", "[Configuración]\r\nContraseña del FTP=v1:a=b\r\n", kConf, kClave,
                "v1:a=b"},
        Lectura{"ClaveDeOtraSeccion", "[Otra]\r\nContraseña del FTP=no\r\n[Configuración]\r\nX=1\r\n", kConf,
                kClave, ""},
        Lectura{"ComentarioNoEsClave", "[Configuración]\r\n;Contraseña del FTP=no\r\n", kConf, kClave, ""},
        Lectura{"FinesDeLineaUnix", "[Configuración]\nContraseña del FTP=abc\n", kConf, kClave, "abc"},
        Lectura{"GuardadoEnUtf8", u"[Configuración]\r\nContraseña del FTP=año\r\n"_s.toUtf8(), kConf, kClave,
                u"año"_s},
        Lectura{"GuardadoEnUtf8ConMarca",
                "\xEF\xBB\xBF" + u"[Configuración]\r\nContraseña del FTP=año\r\n"_s.toUtf8(), kConf, kClave,
                u"año"_s},
        Lectura{"LineaAnsiEntreLineasUtf8",
                u"[Configuración]\r\n"_s.toUtf8() +
                    "; contrase\xF1"
                    "a\r\n" +
                    u"Contraseña del FTP=año\r\n"_s.toUtf8(),
                kConf, kClave, u"año"_s},
        Lectura{"GuardadoEnAnsi", aAnsi(u"[Configuración]\r\nContraseña del FTP=año €\r\n"_s), kConf, kClave,
                u"año €"_s},
        Lectura{"GuardadoEnUtf16", enUtf16(u"[Configuración]\r\nContraseña del FTP=año\r\n"_s), kConf, kClave,
                u"año"_s}),
    [](const auto& info) { return std::string(info.param.caso); });

TEST_F(LibKtfaTest, sinArchivoNoHayValor) {
    EXPECT_EQ(ktfa->LeeIni(kConf, kClave, ruta(u"no-existe.ini"_s)), QString());
}

// Writing one key leaves every other line (comments, blank lines, other sections) as it was.
TEST_F(LibKtfaTest, escribirConservaLasDemasLineas) {
    escribir(ini, QStringLiteral("; Ajustes de la tienda\r\n"
                                 "[frmInicial]\r\nLinea=10\r\n\r\n"
                                 "[Configuración]\r\n; puesto a mano\r\nurl del ftp=viejo\r\n\r\n"
                                 "; lo que sigue es de otro programa\r\n[Otra]\r\nx=1\r\n")
                      .toUtf8());
    ktfa->EscribeIni(u"CONFIGURACIÓN"_s, u"URL del FTP"_s, u"nuevo"_s, ini);
    ktfa->EscribeIni(kConf, u"Directorio"_s, u"/tienda/"_s, ini);
    ktfa->EscribeIni(u"Nueva"_s, u"k"_s, u"v"_s, ini);
    EXPECT_EQ(QString::fromUtf8(leer(ini)),
              QStringLiteral(
                  "; Ajustes de la tienda\r\n"
                  "[frmInicial]\r\nLinea=10\r\n\r\n"
                  "[Configuración]\r\n; puesto a mano\r\nURL del FTP=nuevo\r\nDirectorio=/tienda/\r\n\r\n"
                  "; lo que sigue es de otro programa\r\n[Otra]\r\nx=1\r\n"
                  "\r\n[Nueva]\r\nk=v\r\n"));
}

struct Escritura {
    const char* caso;
    QByteArray antes;
    QByteArray despues; // after B=año is written in section Configuración
};

void PrintTo(const Escritura& e, std::ostream* os) {
    *os << e.caso;
}

class EscribeIniTest : public LibKtfaTest, public ::testing::WithParamInterface<Escritura> {};

// The lines the program does not write keep their bytes, whatever encoding and line ends they have.
TEST_P(EscribeIniTest, soloCambiaLaLineaEscrita) {
    escribir(ini, GetParam().antes);
    ktfa->EscribeIni(kConf, u"B"_s, u"año"_s, ini);
    EXPECT_EQ(leer(ini), GetParam().despues);
    EXPECT_EQ(ktfa->LeeIni(kConf, u"B"_s, ini), u"año"_s);
}

const QByteArray kUtf8ConComentarioAnsi = u"[Configuración]\r\nA=sí\r\n"_s.toUtf8() + "; contrase\xF1"
                                                                                      "a\r\n";

INSTANTIATE_TEST_SUITE_P(
    Casos, EscribeIniTest,
    ::testing::Values(Escritura{"Utf8ConUnComentarioAnsi", kUtf8ConComentarioAnsi + "B=viejo\r\n[Otra]\r\n",
                                kUtf8ConComentarioAnsi + u"B=año\r\n[Otra]\r\n"_s.toUtf8()},
                      Escritura{"AnsiSigueAnsi", aAnsi(u"; Contraseña aquí\r\n[Configuración]\r\nA=sí\r\n"_s),
                                aAnsi(u"; Contraseña aquí\r\n[Configuración]\r\nA=sí\r\nB=año\r\n"_s)},
                      Escritura{"MarcaUtf8YFinesUnix", u"\uFEFF[Configuración]\nA=1\n"_s.toUtf8(),
                                u"\uFEFF[Configuración]\nA=1\nB=año\n"_s.toUtf8()},
                      Escritura{"UltimaLineaSinFin", u"[Configuración]\r\nA=1"_s.toUtf8(),
                                u"[Configuración]\r\nA=1\r\nB=año\r\n"_s.toUtf8()}),
    [](const auto& info) { return std::string(info.param.caso); });

#ifdef Q_OS_UNIX // a file size limit plays the full disk
// A full disk half-way through a write leaves the old file whole, the settings and a list file alike.
TEST_F(LibKtfaTest, unaEscrituraFallidaDejaElArchivoAnterior) {
    const QByteArray anterior = u"[Configuración]\r\nA=1\r\n"_s.toUtf8();
    const QString lista = ruta(u"ListaProductosReja.dat"_s);
    escribir(ini, anterior);
    escribir(lista, anterior);
    rlimit limite{};
    getrlimit(RLIMIT_FSIZE, &limite);
    const rlimit lleno{static_cast<rlim_t>(anterior.size()), limite.rlim_max};
    const auto senal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lleno);
    const bool escritoIni = ini::escribir(ini, kConf, u"B"_s, QString(4096, u'x'));
    const bool escritaLista = escribirListaDeProductos(lista, {{u"A"_s, QString(4096, u'x')}});
    setrlimit(RLIMIT_FSIZE, &limite);
    std::signal(SIGXFSZ, senal);
    EXPECT_FALSE(escritoIni || escritaLista);
    EXPECT_EQ(leer(ini), anterior);
    EXPECT_EQ(leer(lista), anterior);
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files).size(), 2) << "no temporary file is left";
}
#endif

TEST_F(LibKtfaTest, loEscritoSeLeeIgual) {
    const std::vector<std::pair<QString, QString>> casos{
        {u" con blancos "_s, u" con blancos "_s},
        {u"\"entre comillas\""_s, u"\"entre comillas\""_s},
        {u"a=b;c"_s, u"a=b;c"_s},
        {u"línea 1\r\nlínea 2"_s, u"línea 1 línea 2"_s},
        {QString(), QString()},
    };
    for (const auto& [valor, leido] : casos) {
        ktfa->EscribeIni(kConf, u"Valor"_s, valor, ini);
        EXPECT_EQ(ktfa->LeeIni(kConf, u"valor"_s, ini), leido) << valor.toStdString();
    }
    EXPECT_EQ(leer(ini).count("Valor="), 1);
}

struct Numero {
    const char* texto;
    double valor;
};

void PrintTo(const Numero& n, std::ostream* os) {
    *os << '"' << n.texto << '"';
}

class NxValTest : public LibKtfaTest, public ::testing::WithParamInterface<Numero> {};

TEST_P(NxValTest, leeElNumeroDelPrincipio) {
    EXPECT_EQ(ktfa->nxVal(QString::fromUtf8(GetParam().texto)), GetParam().valor);
}

INSTANTIATE_TEST_SUITE_P(Casos, NxValTest,
                         ::testing::Values(Numero{"", 0}, Numero{"3307", 3307}, Numero{" 12abc", 12},
                                           Numero{"-5", -5}, Numero{"2)", 2}, Numero{"1.5", 1.5},
                                           Numero{"abc", 0}, Numero{"\t+7 minutos", 7}, Numero{"1.2.3", 1.2},
                                           Numero{".5", 0.5}, Numero{"-", 0}, Numero{"- 5", 0},
                                           Numero{"1,5", 1}));

struct Tecla {
    char16_t tecleado;
    const char* mascara;
    char16_t recibido;
};

void PrintTo(const Tecla& t, std::ostream* os) {
    *os << int(t.tecleado) << " con " << t.mascara;
}

class EnterTest : public LibKtfaTest, public ::testing::WithParamInterface<Tecla> {};

TEST_P(EnterTest, filtraSegunLaMascara) {
    auto codigo = static_cast<qint16>(GetParam().tecleado);
    QString mascara = QString::fromUtf8(GetParam().mascara);
    ktfa->Enter(codigo, mascara);
    EXPECT_EQ(static_cast<char16_t>(codigo), GetParam().recibido);
}

INSTANTIATE_TEST_SUITE_P(Casos, EnterTest,
                         ::testing::Values(Tecla{u'7', "9", u'7'}, Tecla{u'a', "9", 0}, Tecla{u'-', "9", 0},
                                           Tecla{8, "9", 8}, Tecla{u'ñ', "X", u'ñ'}, Tecla{u'ñ', "!", u'Ñ'},
                                           Tecla{u'Á', "¡", u'á'}, Tecla{u'D', "¡", u'd'},
                                           Tecla{u'1', "¡", u'1'}, Tecla{22, "!", 22},
                                           Tecla{u'x', "?", u'x'}));

} // namespace
