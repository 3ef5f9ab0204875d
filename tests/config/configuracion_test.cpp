// The settings file as start-up leaves it, the settings in memory, and the save of the configuration tab.

#include "components/Registro.h"
#include "config/Configuracion.h"
#include "config_entorno.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

const QString kConf = u"Configuración"_s;

class ConfiguracionTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        ASSERT_TRUE(QDir(carpeta.path()).mkdir(u"vendalia"_s));
        escribir(ruta(u"vendalia/Q7K.ini"_s), "[Q7K]\r\nservidor=127.0.0.1\r\n");
        ini = ruta(nombreDelEjecutable() + u".ini"_s);
    }
    // Start-up with a settings file holding the point-of-sale folder and `resto`.
    void arrancar(const QString& resto = QString()) {
        escribir(ini,
                 (u"[Configuración]\r\nRuta de Vendalia Pro="_s + ruta(u"vendalia"_s) + u"\r\n"_s + resto)
                     .toUtf8());
        ASSERT_EQ(arrancarNucleo(carpeta.path(), false), Arranque::listo);
    }
    QString guardado(const QString& clave) { return modulo().oKtfa->LeeIni(kConf, clave, ini); }
    QString descifrado(const QString& clave) { return modulo().oUtilerias->DesEncripta(guardado(clave)); }
    QString cifrado(const QString& texto) { return UtileriasNucleo().Encripta(texto); }
    // The key lines of the settings file, in file order.
    QStringList claves() {
        QStringList nombres;
        for (const QString& linea : QString::fromUtf8(leer(ini)).split(u"\r\n"_s))
            if (linea.contains(u'='))
                nombres << linea.left(linea.indexOf(u'='));
        return nombres;
    }
    QString ini;
};

TEST_F(ConfiguracionTest, elPrimerArranqueEscribeLasOchoClaves) {
    arrancar();
    EXPECT_EQ(claves(),
              QStringList({u"Ruta de Vendalia Pro"_s, u"Base de datos principal"_s, u"Archivo para el FTP"_s,
                           u"Usuario del FTP"_s, u"Contraseña del FTP"_s, u"URL del FTP"_s, u"Directorio"_s,
                           u"Intervalo en minutos para enviar productos"_s}));
    EXPECT_EQ(guardado(u"Base de datos principal"_s), u"datos1"_s);
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"Archivo"_s);
    EXPECT_EQ(guardado(u"Intervalo en minutos para enviar productos"_s), u"0"_s);
    const std::vector<std::pair<QString, QString>> cifradas{{u"Usuario del FTP"_s, u"Usuario"_s},
                                                            {u"Contraseña del FTP"_s, u"Palabras"_s},
                                                            {u"URL del FTP"_s, u"URL"_s},
                                                            {u"Directorio"_s, u"/CarpetaDelFTP/"_s}};
    for (const auto& [clave, plano] : cifradas) {
        EXPECT_TRUE(guardado(clave).startsWith(u"v1:"_s)) << clave.toStdString();
        EXPECT_EQ(descifrado(clave), plano);
    }
    const Modulo& m = modulo();
    EXPECT_EQ(m.cArchivoFTP, u"Archivo"_s);
    EXPECT_EQ(m.cUsuarioFTP, u"Usuario"_s);
    EXPECT_EQ(m.cClaveFTP, u"Palabras"_s);
    EXPECT_EQ(m.cURLFTP, u"URL"_s);
    EXPECT_EQ(m.cDirectorioFTP, u"/CarpetaDelFTP/"_s);
    EXPECT_EQ(m.nIntervalo, 0);
    EXPECT_EQ(m.oBasesDD->cMiBase, u"datos1"_s);
    EXPECT_EQ(QDir::currentPath(), QDir(carpeta.path()).canonicalPath());
}

TEST_F(ConfiguracionTest, unaClaveVaciaEsComoUnaQueFalta) {
    arrancar(u"Archivo para el FTP=\r\nDirectorio=  \r\n"_s);
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"Archivo"_s);
    EXPECT_EQ(descifrado(u"Directorio"_s), u"/CarpetaDelFTP/"_s);
    EXPECT_EQ(claves().count(u"Archivo para el FTP"_s), 1);
}

TEST_F(ConfiguracionTest, carpetaConBarraFinalYSoloElNombreDelArchivo) {
    arrancar(u"Directorio=%1\r\nArchivo para el FTP=C:\\datos\\lista.txt\r\n"_s.arg(cifrado(u"/catalogo"_s)));
    EXPECT_EQ(modulo().cDirectorioFTP, u"/catalogo/"_s);
    EXPECT_EQ(modulo().cArchivoFTP, u"lista.txt"_s);
    // The file keeps what the user wrote.
    EXPECT_EQ(descifrado(u"Directorio"_s), u"/catalogo"_s);
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"C:\\datos\\lista.txt"_s);
}

TEST_F(ConfiguracionTest, elIntervaloEsUnEnteroDe16Bits) {
    arrancar();
    const std::vector<std::pair<QString, qint16>> casos{{u"15"_s, 15},   {u"-3"_s, -3}, {u"32767"_s, 32767},
                                                        {u"32768"_s, 0}, {u"1.5"_s, 0}, {u"15 min"_s, 0}};
    for (const auto& [texto, valor] : casos) {
        modulo().oKtfa->EscribeIni(kConf, u"Intervalo en minutos para enviar productos"_s, texto, ini);
        LeeConfiguracion();
        EXPECT_EQ(modulo().nIntervalo, valor) << texto.toStdString();
    }
}

// A settings file that cannot be written (here its folder is a file) must not stop start-up: the
// defaults are used as they are.
TEST_F(ConfiguracionTest, sinPoderEscribirSeUsanLosValoresPorDefecto) {
    arrancar();
    escribir(ruta(u"no-es-carpeta"_s), "x");
    modulo().cArchivoINI = ruta(u"no-es-carpeta/catalogo-ftp.ini"_s);
    EXPECT_EQ(LeeIniConDefecto(kConf, u"Base de datos principal"_s, u"datos1"_s), u"datos1"_s);
    LeeConfiguracion();
    EXPECT_EQ(modulo().cUsuarioFTP, u"Usuario"_s);
    EXPECT_EQ(modulo().cDirectorioFTP, u"/CarpetaDelFTP/"_s);
    EXPECT_EQ(modulo().nIntervalo, 0);
}

TEST_F(ConfiguracionTest, grabarEscribeLasSieteClavesEnSuOrden) {
    ASSERT_TRUE(prepararCarpeta(carpeta.path()));
    ASSERT_TRUE(crearComponentes(false));
    GrabarConfiguracion({u"datos2"_s, u"0015"_s, u"C:\\x\\lista.txt"_s, u"ventas"_s, u"ftp.tienda.com"_s,
                         u"clave ñ"_s, u"/tienda"_s});
    EXPECT_EQ(claves(),
              QStringList({u"Base de datos principal"_s, u"Intervalo en minutos para enviar productos"_s,
                           u"URL del FTP"_s, u"Usuario del FTP"_s, u"Contraseña del FTP"_s,
                           u"Archivo para el FTP"_s, u"Directorio"_s}));
    EXPECT_EQ(guardado(u"Base de datos principal"_s), u"datos2"_s);
    EXPECT_EQ(guardado(u"Intervalo en minutos para enviar productos"_s), u"15"_s);
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"C:\\x\\lista.txt"_s);
    EXPECT_TRUE(guardado(u"Usuario del FTP"_s).startsWith(u"v1:"_s));
    EXPECT_EQ(descifrado(u"Usuario del FTP"_s), u"ventas"_s);
    EXPECT_EQ(descifrado(u"URL del FTP"_s), u"ftp.tienda.com"_s);
    EXPECT_EQ(descifrado(u"Contraseña del FTP"_s), u"clave ñ"_s);
    EXPECT_EQ(descifrado(u"Directorio"_s), u"/tienda"_s);

    LeeConfiguracion();
    EXPECT_EQ(modulo().cUsuarioFTP, u"ventas"_s);
    EXPECT_EQ(modulo().cDirectorioFTP, u"/tienda/"_s);
    EXPECT_EQ(modulo().cArchivoFTP, u"lista.txt"_s);
    EXPECT_EQ(modulo().nIntervalo, 15);
}

TEST_F(ConfiguracionTest, unaCajaVaciaSeGrabaVaciaYLuegoTomaSuDefecto) {
    ASSERT_TRUE(prepararCarpeta(carpeta.path()));
    ASSERT_TRUE(crearComponentes(false));
    GrabarConfiguracion({QString(), QString(), QString(), QString(), QString(), QString(), QString()});
    EXPECT_EQ(guardado(u"Intervalo en minutos para enviar productos"_s), u"0"_s);
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), QString());
    LeeConfiguracion();
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"Archivo"_s);
    EXPECT_EQ(modulo().cUsuarioFTP, QString()); // an enciphered empty text is stored, not missing
    EXPECT_EQ(modulo().cDirectorioFTP, u"/"_s);
}

TEST_F(ConfiguracionTest, elArranqueSeDetieneEnElComponenteQueFalta) {
    registrarComponente(u"Nodex.DeEquipo"_s, [] { return std::unique_ptr<Componente>(); });
    EXPECT_EQ(arrancarNucleo(carpeta.path(), false), Arranque::faltaComponente);
    ASSERT_EQ(cajasDelSistema.size(), 1u);
    EXPECT_TRUE(cajasDelSistema[0].texto.endsWith(u"Intentanto crear \"Nodex.DeEquipo\""_s));
    EXPECT_NE(modulo().oBasesDD, nullptr);
    EXPECT_EQ(modulo().oUtilerias, nullptr);
    EXPECT_FALSE(QFile::exists(ini));
}

} // namespace
