// The settings file as start-up leaves it, the settings in memory, and the save of the configuration tab.

#include "components/Registro.h"
#include "config/Configuracion.h"
#include "config_entorno.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"

#include <QDir>

namespace {

const QString kConf = QStringLiteral("Configuración");

class ConfiguracionTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        ASSERT_TRUE(QDir(carpeta.path()).mkdir(QStringLiteral("vendalia")));
        escribir(ruta(QStringLiteral("vendalia/Q7K.ini")), "[Q7K]\r\nservidor=127.0.0.1\r\n");
        ini = ruta(nombreDelEjecutable() + QStringLiteral(".ini"));
    }
    // Start-up with a settings file holding the point-of-sale folder and `resto`.
    void arrancar(const QString& resto = QString()) {
        escribir(ini, (QStringLiteral("[Configuración]\r\nRuta de Vendalia Pro=") +
                       ruta(QStringLiteral("vendalia")) + QStringLiteral("\r\n") + resto)
                          .toUtf8());
        ASSERT_EQ(arrancarNucleo(carpeta.path(), false), Arranque::listo);
    }
    QString guardado(const QString& clave) { return modulo().oKtfa->LeeIni(kConf, clave, ini); }
    QString descifrado(const QString& clave) { return modulo().oUtilerias->DesEncripta(guardado(clave)); }
    QString cifrado(const QString& texto) { return UtileriasNucleo().Encripta(texto); }
    // The key lines of the settings file, in file order.
    QStringList claves() {
        QStringList nombres;
        for (const QString& linea : QString::fromUtf8(leer(ini)).split(QStringLiteral("\r\n")))
            if (linea.contains(QLatin1Char('=')))
                nombres << linea.left(linea.indexOf(QLatin1Char('=')));
        return nombres;
    }
    QString ini;
};

TEST_F(ConfiguracionTest, elPrimerArranqueEscribeLasOchoClaves) {
    arrancar();
    EXPECT_EQ(claves(),
              QStringList({QStringLiteral("Ruta de Vendalia Pro"), QStringLiteral("Base de datos principal"),
                           QStringLiteral("Archivo para el FTP"), QStringLiteral("Usuario del FTP"),
                           QStringLiteral("Contraseña del FTP"), QStringLiteral("URL del FTP"),
                           QStringLiteral("Directorio"),
                           QStringLiteral("Intervalo en minutos para enviar productos")}));
    EXPECT_EQ(guardado(QStringLiteral("Base de datos principal")), QStringLiteral("datos1"));
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QStringLiteral("Archivo"));
    EXPECT_EQ(guardado(QStringLiteral("Intervalo en minutos para enviar productos")), QStringLiteral("0"));
    const std::vector<std::pair<QString, QString>> cifradas{
        {QStringLiteral("Usuario del FTP"), QStringLiteral("Usuario")},
        {QStringLiteral("Contraseña del FTP"), QStringLiteral("Palabras")},
        {QStringLiteral("URL del FTP"), QStringLiteral("URL")},
        {QStringLiteral("Directorio"), QStringLiteral("/CarpetaDelFTP/")}};
    for (const auto& [clave, plano] : cifradas) {
        EXPECT_TRUE(guardado(clave).startsWith(QLatin1String("v1:"))) << clave.toStdString();
        EXPECT_EQ(descifrado(clave), plano);
    }
    const Modulo& m = modulo();
    EXPECT_EQ(m.cArchivoFTP, QStringLiteral("Archivo"));
    EXPECT_EQ(m.cUsuarioFTP, QStringLiteral("Usuario"));
    EXPECT_EQ(m.cClaveFTP, QStringLiteral("Palabras"));
    EXPECT_EQ(m.cURLFTP, QStringLiteral("URL"));
    EXPECT_EQ(m.cDirectorioFTP, QStringLiteral("/CarpetaDelFTP/"));
    EXPECT_EQ(m.nIntervalo, 0);
    EXPECT_EQ(m.oBasesDD->cMiBase, QStringLiteral("datos1"));
    EXPECT_EQ(QDir::currentPath(), QDir(carpeta.path()).canonicalPath());
}

TEST_F(ConfiguracionTest, unaClaveVaciaEsComoUnaQueFalta) {
    arrancar(QStringLiteral("Archivo para el FTP=\r\nDirectorio=  \r\n"));
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QStringLiteral("Archivo"));
    EXPECT_EQ(descifrado(QStringLiteral("Directorio")), QStringLiteral("/CarpetaDelFTP/"));
    EXPECT_EQ(claves().count(QStringLiteral("Archivo para el FTP")), 1);
}

TEST_F(ConfiguracionTest, carpetaConBarraFinalYSoloElNombreDelArchivo) {
    arrancar(QStringLiteral("Directorio=%1\r\nArchivo para el FTP=C:\\datos\\lista.txt\r\n")
                 .arg(cifrado(QStringLiteral("/catalogo"))));
    EXPECT_EQ(modulo().cDirectorioFTP, QStringLiteral("/catalogo/"));
    EXPECT_EQ(modulo().cArchivoFTP, QStringLiteral("lista.txt"));
    // The file keeps what the user wrote.
    EXPECT_EQ(descifrado(QStringLiteral("Directorio")), QStringLiteral("/catalogo"));
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QStringLiteral("C:\\datos\\lista.txt"));
}

TEST_F(ConfiguracionTest, elIntervaloEsUnEnteroDe16Bits) {
    arrancar();
    const std::vector<std::pair<QString, qint16>> casos{
        {QStringLiteral("15"), 15},   {QStringLiteral("-3"), -3}, {QStringLiteral("32767"), 32767},
        {QStringLiteral("32768"), 0}, {QStringLiteral("1.5"), 0}, {QStringLiteral("15 min"), 0}};
    for (const auto& [texto, valor] : casos) {
        modulo().oKtfa->EscribeIni(kConf, QStringLiteral("Intervalo en minutos para enviar productos"), texto,
                                   ini);
        LeeConfiguracion();
        EXPECT_EQ(modulo().nIntervalo, valor) << texto.toStdString();
    }
}

// A settings file that cannot be written (here its folder is a file) must not stop start-up: the
// defaults are used as they are.
TEST_F(ConfiguracionTest, sinPoderEscribirSeUsanLosValoresPorDefecto) {
    arrancar();
    escribir(ruta(QStringLiteral("no-es-carpeta")), "x");
    modulo().cArchivoINI = ruta(QStringLiteral("no-es-carpeta/catalogo-ftp.ini"));
    EXPECT_EQ(LeeIniConDefecto(kConf, QStringLiteral("Base de datos principal"), QStringLiteral("datos1")),
              QStringLiteral("datos1"));
    LeeConfiguracion();
    EXPECT_EQ(modulo().cUsuarioFTP, QStringLiteral("Usuario"));
    EXPECT_EQ(modulo().cDirectorioFTP, QStringLiteral("/CarpetaDelFTP/"));
    EXPECT_EQ(modulo().nIntervalo, 0);
}

TEST_F(ConfiguracionTest, grabarEscribeLasSieteClavesEnSuOrden) {
    ASSERT_TRUE(prepararCarpeta(carpeta.path()));
    ASSERT_TRUE(crearComponentes(false));
    GrabarConfiguracion({QStringLiteral("datos2"), QStringLiteral("0015"), QStringLiteral("C:\\x\\lista.txt"),
                         QStringLiteral("ventas"), QStringLiteral("ftp.tienda.com"),
                         QStringLiteral("clave ñ"), QStringLiteral("/tienda")});
    EXPECT_EQ(claves(), QStringList({QStringLiteral("Base de datos principal"),
                                     QStringLiteral("Intervalo en minutos para enviar productos"),
                                     QStringLiteral("URL del FTP"), QStringLiteral("Usuario del FTP"),
                                     QStringLiteral("Contraseña del FTP"),
                                     QStringLiteral("Archivo para el FTP"), QStringLiteral("Directorio")}));
    EXPECT_EQ(guardado(QStringLiteral("Base de datos principal")), QStringLiteral("datos2"));
    EXPECT_EQ(guardado(QStringLiteral("Intervalo en minutos para enviar productos")), QStringLiteral("15"));
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QStringLiteral("C:\\x\\lista.txt"));
    EXPECT_TRUE(guardado(QStringLiteral("Usuario del FTP")).startsWith(QLatin1String("v1:")));
    EXPECT_EQ(descifrado(QStringLiteral("Usuario del FTP")), QStringLiteral("ventas"));
    EXPECT_EQ(descifrado(QStringLiteral("URL del FTP")), QStringLiteral("ftp.tienda.com"));
    EXPECT_EQ(descifrado(QStringLiteral("Contraseña del FTP")), QStringLiteral("clave ñ"));
    EXPECT_EQ(descifrado(QStringLiteral("Directorio")), QStringLiteral("/tienda"));

    LeeConfiguracion();
    EXPECT_EQ(modulo().cUsuarioFTP, QStringLiteral("ventas"));
    EXPECT_EQ(modulo().cDirectorioFTP, QStringLiteral("/tienda/"));
    EXPECT_EQ(modulo().cArchivoFTP, QStringLiteral("lista.txt"));
    EXPECT_EQ(modulo().nIntervalo, 15);
}

TEST_F(ConfiguracionTest, unaCajaVaciaSeGrabaVaciaYLuegoTomaSuDefecto) {
    ASSERT_TRUE(prepararCarpeta(carpeta.path()));
    ASSERT_TRUE(crearComponentes(false));
    GrabarConfiguracion({QString(), QString(), QString(), QString(), QString(), QString(), QString()});
    EXPECT_EQ(guardado(QStringLiteral("Intervalo en minutos para enviar productos")), QStringLiteral("0"));
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QString());
    LeeConfiguracion();
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QStringLiteral("Archivo"));
    EXPECT_EQ(modulo().cUsuarioFTP, QString()); // an enciphered empty text is stored, not missing
    EXPECT_EQ(modulo().cDirectorioFTP, QStringLiteral("/"));
}

TEST_F(ConfiguracionTest, elArranqueSeDetieneEnElComponenteQueFalta) {
    registrarComponente(QStringLiteral("Nodex.DeEquipo"), [] { return std::unique_ptr<Componente>(); });
    EXPECT_EQ(arrancarNucleo(carpeta.path(), false), Arranque::faltaComponente);
    ASSERT_EQ(cajasDelSistema.size(), 1u);
    EXPECT_TRUE(cajasDelSistema[0].texto.endsWith(QStringLiteral("Intentanto crear \"Nodex.DeEquipo\"")));
    EXPECT_NE(modulo().oBasesDD, nullptr);
    EXPECT_EQ(modulo().oUtilerias, nullptr);
    EXPECT_FALSE(QFile::exists(ini));
}

TEST_F(ConfiguracionTest, unaCarpetaQueNoExisteNoArranca) {
    EXPECT_EQ(arrancarNucleo(ruta(QStringLiteral("no-existe")), false), Arranque::carpetaInexistente);
    EXPECT_EQ(modulo().oKtfa, nullptr);
}

} // namespace
