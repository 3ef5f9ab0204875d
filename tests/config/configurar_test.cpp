// `catalogo-ftp configurar`, run as a technician runs it.

#include "components/Nucleo.h"
#include "config_entorno.h"

#include <QDir>
#include <QProcess>

namespace {

const QString kConf = QStringLiteral("Configuración");

struct Salida {
    int estado;
    QString normal;
    QString errores;
};

class ConfigurarTest : public EntornoDeConfiguracion {
protected:
    Salida correr(const QStringList& argumentos,
                  const QString& programa = QStringLiteral(CATALOGO_EJECUTABLE)) {
        QProcess proceso;
        proceso.setProcessEnvironment(
            QProcessEnvironment::systemEnvironment()); // XDG_CONFIG_HOME of the test
        proceso.start(programa, QStringList{QStringLiteral("configurar")} + argumentos);
        EXPECT_TRUE(proceso.waitForFinished(20000));
        return {proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1,
                QString::fromUtf8(proceso.readAllStandardOutput()),
                QString::fromUtf8(proceso.readAllStandardError())};
    }
    Salida configurar(const QStringList& argumentos) {
        return correr(QStringList{QStringLiteral("--carpeta"), carpeta.path()} + argumentos);
    }
    QString guardado(const QString& clave) { return ktfa.LeeIni(kConf, clave, ini); }
    QString descifrado(const QString& clave) { return utilerias.DesEncripta(guardado(clave)); }

    QString ini = ruta(QStringLiteral("catalogo-ftp.ini"));
    LibKtfaNucleo ktfa;
    UtileriasNucleo utilerias;
};

TEST_F(ConfigurarTest, grabaLosAjustesComoLaPestana) {
    const Salida s =
        configurar({QStringLiteral("--url"), QStringLiteral("ftp.tienda.com"), QStringLiteral("--usuario"),
                    QStringLiteral("ventas"), QStringLiteral("--contrasena"), QStringLiteral("s3creta ñ"),
                    QStringLiteral("--directorio"), QStringLiteral("/tienda"), QStringLiteral("--archivo"),
                    QStringLiteral("C:\\datos\\lista.csv"), QStringLiteral("--intervalo"),
                    QStringLiteral("015"), QStringLiteral("--base"), QStringLiteral("datos2")});
    ASSERT_EQ(s.estado, 0) << s.errores.toStdString();
    EXPECT_EQ(guardado(QStringLiteral("Base de datos principal")), QStringLiteral("datos2"));
    EXPECT_EQ(guardado(QStringLiteral("Intervalo en minutos para enviar productos")), QStringLiteral("15"));
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QStringLiteral("C:\\datos\\lista.csv"));
    for (const char* clave : {"URL del FTP", "Usuario del FTP", "Contraseña del FTP", "Directorio"})
        EXPECT_TRUE(guardado(QString::fromUtf8(clave)).startsWith(QLatin1String("v1:"))) << clave;
    EXPECT_EQ(descifrado(QStringLiteral("URL del FTP")), QStringLiteral("ftp.tienda.com"));
    EXPECT_EQ(descifrado(QStringLiteral("Usuario del FTP")), QStringLiteral("ventas"));
    EXPECT_EQ(descifrado(QStringLiteral("Contraseña del FTP")), QStringLiteral("s3creta ñ"));
    EXPECT_EQ(descifrado(QStringLiteral("Directorio")), QStringLiteral("/tienda"));
    // "Ruta de Vendalia Pro" is edited by hand only.
    EXPECT_EQ(guardado(QStringLiteral("Ruta de Vendalia Pro")), QString());

    const QString bitacora = QString::fromUtf8(leer(ruta(QStringLiteral("catalogo-ftp.log"))));
    EXPECT_FALSE(bitacora.isEmpty());
    EXPECT_FALSE(bitacora.contains(QStringLiteral("s3creta")));
}

TEST_F(ConfigurarTest, loQueNoSeDaConservaSuValor) {
    ASSERT_EQ(
        configurar({QStringLiteral("--url"), QStringLiteral("ftp.tienda.com"), QStringLiteral("--contrasena"),
                    QStringLiteral("uno"), QStringLiteral("--archivo"), QStringLiteral("a.csv")})
            .estado,
        0);
    ASSERT_EQ(configurar({QStringLiteral("--contrasena"), QStringLiteral("dos"), QStringLiteral("--archivo"),
                          QString()})
                  .estado,
              0);
    EXPECT_EQ(descifrado(QStringLiteral("URL del FTP")), QStringLiteral("ftp.tienda.com"));
    EXPECT_EQ(descifrado(QStringLiteral("Contraseña del FTP")), QStringLiteral("dos"));
    EXPECT_EQ(descifrado(QStringLiteral("Usuario del FTP")), QStringLiteral("Usuario"));
    // Saved empty, then given its default back, as after "Grabar".
    EXPECT_EQ(guardado(QStringLiteral("Archivo para el FTP")), QStringLiteral("Archivo"));
}

TEST_F(ConfigurarTest, mostrarDescifraYOcultaLaContrasena) {
    ASSERT_EQ(
        configurar({QStringLiteral("--ruta-vendalia"), QStringLiteral("/opt/vendalia"),
                    QStringLiteral("--url"), QStringLiteral("ftp.tienda.com"), QStringLiteral("--contrasena"),
                    QStringLiteral("s3creta"), QStringLiteral("--intervalo"), QStringLiteral("30")})
            .estado,
        0);
    const QByteArray antes = leer(ini);
    const Salida s = configurar({QStringLiteral("--mostrar")});
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
}

TEST_F(ConfigurarTest, laRutaDeVendaliaSeGrabaSola) {
    ASSERT_EQ(configurar({QStringLiteral("--ruta-vendalia"), QStringLiteral("C:\\Vendalia Pro")}).estado, 0);
    EXPECT_EQ(leer(ini),
              QStringLiteral("[Configuración]\r\nRuta de Vendalia Pro=C:\\Vendalia Pro\r\n").toUtf8());
}

TEST_F(ConfigurarTest, usoIncorrecto) {
    const std::vector<QStringList> casos{{QStringLiteral("--desconocida")},
                                         {QStringLiteral("sobrante")},
                                         {QStringLiteral("--intervalo"), QStringLiteral("abc")},
                                         {QStringLiteral("--intervalo"), QStringLiteral("10000")},
                                         {QStringLiteral("--intervalo"), QStringLiteral("-1")},
                                         {QStringLiteral("--url")},
                                         {}};
    for (const QStringList& argumentos : casos) {
        const Salida s = configurar(argumentos);
        EXPECT_EQ(s.estado, 2) << argumentos.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(s.errores.contains(QStringLiteral("uso: catalogo-ftp configurar")));
    }
    EXPECT_EQ(
        correr({QStringLiteral("--carpeta"), ruta(QStringLiteral("no-existe")), QStringLiteral("--mostrar")})
            .estado,
        2);
    EXPECT_FALSE(QFile::exists(ini));
}

TEST_F(ConfigurarTest, sinPoderEscribirTerminaConUno) {
    ASSERT_TRUE(QDir(carpeta.path()).mkdir(QStringLiteral("catalogo-ftp.ini")));
    const Salida s = configurar({QStringLiteral("--url"), QStringLiteral("ftp.tienda.com")});
    EXPECT_EQ(s.estado, 1);
    EXPECT_TRUE(s.errores.contains(QStringLiteral("no se puede escribir"))) << s.errores.toStdString();
}

// Without --carpeta the program folder is the executable's, and the settings file takes the
// executable's name: a copy under another name keeps settings of its own.
TEST_F(ConfigurarTest, unaCopiaConOtroNombreUsaSuPropioArchivo) {
    const QString copia = ruta(QStringLiteral("tienda2"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(CATALOGO_EJECUTABLE), copia));
    ASSERT_EQ(correr({QStringLiteral("--base"), QStringLiteral("sucursal2")}, copia).estado, 0);
    EXPECT_FALSE(QFile::exists(ini));
    EXPECT_EQ(
        ktfa.LeeIni(kConf, QStringLiteral("Base de datos principal"), ruta(QStringLiteral("tienda2.ini"))),
        QStringLiteral("sucursal2"));
}

} // namespace
