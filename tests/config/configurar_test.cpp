// `catalogo-ftp configurar`, run as a technician runs it.

#include "components/Nucleo.h"
#include "config_entorno.h"

#include <QDir>
#include <QProcess>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString kConf = u"Configuración"_s;

struct Salida {
    int estado;
    QString normal;
    QString errores;
};

class ConfigurarTest : public EntornoDeConfiguracion {
protected:
    Salida correr(const QStringList& argumentos,
                  const QString& programa = QStringLiteral(CATALOGO_EJECUTABLE),
                  const QByteArray& entrada = {}) {
        QProcess proceso;
        proceso.setProcessEnvironment(
            QProcessEnvironment::systemEnvironment()); // XDG_CONFIG_HOME of the test
        proceso.start(programa, QStringList{u"configurar"_s} + argumentos);
        proceso.write(entrada);
        proceso.closeWriteChannel();
        EXPECT_TRUE(proceso.waitForFinished(20000));
        return {proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1,
                QString::fromUtf8(proceso.readAllStandardOutput()),
                QString::fromUtf8(proceso.readAllStandardError())};
    }
    Salida configurar(const QStringList& argumentos, const QByteArray& entrada = {}) {
        return correr(QStringList{u"--carpeta"_s, carpeta.path()} + argumentos,
                      QStringLiteral(CATALOGO_EJECUTABLE), entrada);
    }
    QString guardado(const QString& clave) { return ktfa.LeeIni(kConf, clave, ini); }
    QString descifrado(const QString& clave) { return utilerias.DesEncripta(guardado(clave)); }

    QString ini = ruta(u"catalogo-ftp.ini"_s);
    LibKtfaNucleo ktfa;
    UtileriasNucleo utilerias;
};

TEST_F(ConfigurarTest, grabaLosAjustesComoLaPestana) {
    const Salida s =
        configurar({u"--url"_s, u"ftp.tienda.com"_s, u"--usuario"_s, u"ventas"_s, u"--contrasena"_s,
                    u"s3creta ñ"_s, u"--directorio"_s, u"/tienda"_s, u"--archivo"_s,
                    u"C:\\datos\\lista.csv"_s, u"--intervalo"_s, u"015"_s, u"--base"_s, u"datos2"_s});
    ASSERT_EQ(s.estado, 0) << s.errores.toStdString();
    EXPECT_EQ(guardado(u"Base de datos principal"_s), u"datos2"_s);
    EXPECT_EQ(guardado(u"Intervalo en minutos para enviar productos"_s), u"15"_s);
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"C:\\datos\\lista.csv"_s);
    for (const char* clave : {"URL del FTP", "Usuario del FTP", "Contraseña del FTP", "Directorio"})
        EXPECT_TRUE(guardado(QString::fromUtf8(clave)).startsWith(u"v1:"_s)) << clave;
    EXPECT_EQ(descifrado(u"URL del FTP"_s), u"ftp.tienda.com"_s);
    EXPECT_EQ(descifrado(u"Usuario del FTP"_s), u"ventas"_s);
    EXPECT_EQ(descifrado(u"Contraseña del FTP"_s), u"s3creta ñ"_s);
    EXPECT_EQ(descifrado(u"Directorio"_s), u"/tienda"_s);
    // "Ruta de Vendalia Pro" is edited by hand only.
    EXPECT_EQ(guardado(u"Ruta de Vendalia Pro"_s), QString());

    const QString bitacora = QString::fromUtf8(leer(ruta(u"catalogo-ftp.log"_s)));
    EXPECT_FALSE(bitacora.isEmpty());
    EXPECT_FALSE(bitacora.contains(u"s3creta"_s));
}

TEST_F(ConfigurarTest, loQueNoSeDaConservaSuValor) {
    ASSERT_EQ(
        configurar({u"--url"_s, u"ftp.tienda.com"_s, u"--contrasena"_s, u"uno"_s, u"--archivo"_s, u"a.csv"_s})
            .estado,
        0);
    // Read from standard input, the password stays out of the process list.
    ASSERT_EQ(configurar({u"--contrasena"_s, u"-"_s, u"--archivo"_s, QString()}, "dos\r\n").estado, 0);
    EXPECT_EQ(descifrado(u"URL del FTP"_s), u"ftp.tienda.com"_s);
    EXPECT_EQ(descifrado(u"Contraseña del FTP"_s), u"dos"_s);
    EXPECT_EQ(descifrado(u"Usuario del FTP"_s), u"Usuario"_s);
    // Saved empty, then given its default back, as after "Grabar".
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"Archivo"_s);
}

TEST_F(ConfigurarTest, mostrarDescifraYOcultaLaContrasena) {
    ASSERT_EQ(configurar({u"--ruta-vendalia"_s, u"/opt/vendalia"_s, u"--url"_s, u"ftp.tienda.com"_s,
                          u"--contrasena"_s, u"s3creta"_s, u"--intervalo"_s, u"30"_s})
                  .estado,
              0);
    const QByteArray antes = leer(ini);
    const Salida s = configurar({u"--mostrar"_s});
    ASSERT_EQ(s.estado, 0) << s.errores.toStdString();
    EXPECT_EQ(s.normal, QStringLiteral("Ruta de Vendalia Pro=/opt/vendalia\n"
                                       "Base de datos principal=datos1\n"
                                       "Archivo para el FTP=Archivo\n"
                                       "Usuario del FTP=Usuario\n"
                                       "Contraseña del FTP=********\n"
                                       "URL del FTP=ftp.tienda.com\n"
                                       "Directorio=/CarpetaDelFTP/\n"
                                       "Intervalo en minutos para enviar productos=30\n"));
    EXPECT_EQ(leer(ini), antes);
    EXPECT_TRUE(s.errores.contains(u"la contraseña viajan en claro por la red; use ftps://"_s))
        << s.errores.toStdString();
    ASSERT_EQ(configurar({u"--url"_s, u"ftps://ftp.tienda.com"_s}).estado, 0);
    EXPECT_EQ(configurar({u"--mostrar"_s}).errores, QString());
}

// Settings whose first send would overwrite a file of the program are refused before they are written.
TEST_F(ConfigurarTest, rechazaAjustesQueDestruirianArchivos) {
    const std::vector<std::pair<QStringList, QString>> casos{
        {{u"--archivo"_s, u"catalogo-ftp.ini"_s}, u"no puede ser \"catalogo-ftp.ini\""_s},
        {{u"--archivo"_s, u"C:\\tienda\\LISTADECAMPOS.DAT"_s}, u"no puede ser \"LISTADECAMPOS.DAT\""_s},
        {{u"--url"_s, carpeta.path(), u"--directorio"_s, u"/"_s}, u"no puede ser la carpeta del programa"_s},
        {{u"--url"_s, QUrl::fromLocalFile(QDir(carpeta.path()).filePath(u"sub"_s)).toString(),
          u"--directorio"_s, u"/.."_s},
         u"no puede ser la carpeta del programa"_s},
    };
    for (const auto& [argumentos, motivo] : casos) {
        const Salida s = configurar(argumentos);
        EXPECT_EQ(s.estado, 2) << argumentos.join(u' ').toStdString();
        EXPECT_TRUE(s.errores.contains(motivo)) << s.errores.toStdString();
    }
    EXPECT_EQ(guardado(u"Archivo para el FTP"_s), u"Archivo"_s);
    EXPECT_EQ(configurar({u"--url"_s, carpeta.path(), u"--directorio"_s, u"/publico"_s}).estado, 0);
}

TEST_F(ConfigurarTest, laRutaDeVendaliaSeGrabaSola) {
    ASSERT_EQ(configurar({u"--ruta-vendalia"_s, u"C:\\Vendalia Pro"_s}).estado, 0);
    EXPECT_EQ(leer(ini), u"[Configuración]\r\nRuta de Vendalia Pro=C:\\Vendalia Pro\r\n"_s.toUtf8());
}

TEST_F(ConfigurarTest, usoIncorrecto) {
    const std::vector<QStringList> casos{{u"--desconocida"_s},
                                         {u"sobrante"_s},
                                         {u"--intervalo"_s, u"abc"_s},
                                         {u"--intervalo"_s, u"10000"_s},
                                         {u"--intervalo"_s, u"-1"_s},
                                         {u"--url"_s},
                                         {u"--contrasena"_s, u"-"_s}, // nothing on standard input
                                         {}};
    for (const QStringList& argumentos : casos) {
        const Salida s = configurar(argumentos);
        EXPECT_EQ(s.estado, 2) << argumentos.join(u' ').toStdString();
        EXPECT_TRUE(s.errores.contains(u"uso: catalogo-ftp configurar"_s));
    }
    EXPECT_EQ(correr({u"--carpeta"_s, ruta(u"no-existe"_s), u"--mostrar"_s}).estado, 2);
    EXPECT_FALSE(QFile::exists(ini));
}

TEST_F(ConfigurarTest, sinPoderEscribirTerminaConUno) {
    ASSERT_TRUE(QDir(carpeta.path()).mkdir(u"catalogo-ftp.ini"_s));
    const Salida s = configurar({u"--url"_s, u"ftp.tienda.com"_s});
    EXPECT_EQ(s.estado, 1);
    EXPECT_TRUE(s.errores.contains(u"no se puede escribir"_s)) << s.errores.toStdString();
}

// Without --carpeta the program folder is the executable's, and the settings file takes the
// executable's name: a copy under another name keeps settings of its own.
TEST_F(ConfigurarTest, unaCopiaConOtroNombreUsaSuPropioArchivo) {
    const QString copia = ruta(u"tienda2"_s);
    ASSERT_TRUE(QFile::copy(QStringLiteral(CATALOGO_EJECUTABLE), copia));
    ASSERT_EQ(correr({u"--base"_s, u"sucursal2"_s}, copia).estado, 0);
    EXPECT_FALSE(QFile::exists(ini));
    EXPECT_EQ(ktfa.LeeIni(kConf, u"Base de datos principal"_s, ruta(u"tienda2.ini"_s)), u"sucursal2"_s);
}

} // namespace
