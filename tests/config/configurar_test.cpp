// `catalogo-ftp configurar`, run as a technician runs it.

#include "config_entorno.h"

#include <QDir>
#include <QProcess>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

struct Salida {
    int estado;
    QString normal;
    QString errores;
};

class ConfigurarTest : public EntornoDeConfiguracion {
protected:
    // Runs `catalogo-ftp configurar argumentos` with the test's XDG_CONFIG_HOME, so with its key.
    static Salida correr(const QStringList& argumentos, const QByteArray& entrada = {}) {
        QProcess proceso;
        proceso.start(QStringLiteral(CATALOGO_EJECUTABLE), QStringList{u"configurar"_s} + argumentos);
        proceso.write(entrada);
        proceso.closeWriteChannel();
        EXPECT_TRUE(proceso.waitForFinished(20000));
        return {proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1,
                QString::fromUtf8(proceso.readAllStandardOutput()),
                QString::fromUtf8(proceso.readAllStandardError())};
    }
    Salida configurar(const QStringList& argumentos, const QByteArray& entrada = {}) {
        return correr(QStringList{u"--carpeta"_s, carpeta.path()} + argumentos, entrada);
    }
    QString ini = ruta(u"catalogo-ftp.ini"_s);
};

// Saved as the configuration tab saves them; what is not given keeps its value.
TEST_F(ConfigurarTest, grabaLosAjustesYConservaLosDemas) {
    const Salida s =
        configurar({u"--url"_s, u"ftp.tienda.com"_s, u"--usuario"_s, u"ventas"_s, u"--contrasena"_s,
                    u"s3creta ñ"_s, u"--directorio"_s, u"/tienda"_s, u"--archivo"_s,
                    u"C:\\datos\\lista.csv"_s, u"--intervalo"_s, u"015"_s, u"--base"_s, u"datos2"_s});
    ASSERT_EQ(s.estado, 0) << s.errores.toStdString();
    EXPECT_EQ(ajustesGuardados(ini), QStringList({u"datos2"_s, u"15"_s, u"ftp.tienda.com"_s, u"ventas"_s,
                                                  u"s3creta ñ"_s, u"C:\\datos\\lista.csv"_s, u"/tienda"_s}));
    const QString bitacora = QString::fromUtf8(leer(ruta(u"catalogo-ftp.log"_s)));
    EXPECT_FALSE(bitacora.isEmpty());
    EXPECT_FALSE(bitacora.contains(u"s3creta"_s));

    // Read from standard input, the password stays out of the process list. An empty file name is
    // saved empty, then given its default back, as after "Grabar".
    ASSERT_EQ(configurar({u"--contrasena"_s, u"-"_s, u"--archivo"_s, QString()}, "dos\r\n").estado, 0);
    EXPECT_EQ(ajustesGuardados(ini), QStringList({u"datos2"_s, u"15"_s, u"ftp.tienda.com"_s, u"ventas"_s,
                                                  u"dos"_s, u"Archivo"_s, u"/tienda"_s}));
}

// --mostrar prints the settings deciphered but the password, changes nothing, and warns about plain FTP.
TEST_F(ConfigurarTest, mostrarDescifraYOcultaLaContrasena) {
    ASSERT_EQ(configurar({u"--ruta-vendalia"_s, u"/opt/vendalia"_s, u"--url"_s, u"ftp.tienda.com"_s,
                          u"--contrasena"_s, u"s3creta"_s, u"--intervalo"_s, u"30"_s})
                  .estado,
              0);
    const QByteArray antes = leer(ini);
    const Salida mostrado = configurar({u"--mostrar"_s});
    ASSERT_EQ(mostrado.estado, 0) << mostrado.errores.toStdString();
    EXPECT_EQ(mostrado.normal, u"Ruta de Vendalia Pro=/opt/vendalia\n"
                               u"Base de datos principal=datos1\n"
                               u"Archivo para el FTP=Archivo\n"
                               u"Usuario del FTP=Usuario\n"
                               u"Contraseña del FTP=********\n"
                               u"URL del FTP=ftp.tienda.com\n"
                               u"Directorio=/CarpetaDelFTP/\n"
                               u"Intervalo en minutos para enviar productos=30\n"_s);
    EXPECT_EQ(leer(ini), antes);
    EXPECT_TRUE(mostrado.errores.contains(u"la contraseña viajan en claro por la red; use ftps://"_s))
        << mostrado.errores.toStdString();
    ASSERT_EQ(configurar({u"--url"_s, u"ftps://ftp.tienda.com"_s}).estado, 0);
    EXPECT_EQ(configurar({u"--mostrar"_s}).errores, QString());
}

// Wrong use ends with 2 before anything is written; so do settings whose first send would overwrite a
// file of the program, which are left out of the file.
TEST_F(ConfigurarTest, rechazaLoQueNoSePuedeGrabarYGrabaSoloLoDado) {
    const QString uso = u"uso: catalogo-ftp configurar"_s;
    const QString carpetaDelPrograma = u"no puede ser la carpeta del programa"_s;
    const std::vector<std::pair<QStringList, QString>> casos{
        {{u"--desconocida"_s}, uso},
        {{u"--intervalo"_s, u"10000"_s}, uso},
        {{u"--intervalo"_s, u"-1"_s}, uso},
        {{u"--contrasena"_s, u"-"_s}, uso}, // nothing on standard input
        {{}, uso},
        {{u"--archivo"_s, u"catalogo-ftp.ini"_s}, u"no puede ser \"catalogo-ftp.ini\""_s},
        {{u"--archivo"_s, u"C:\\tienda\\LISTADECAMPOS.DAT"_s}, u"no puede ser \"LISTADECAMPOS.DAT\""_s},
        {{u"--url"_s, carpeta.path(), u"--directorio"_s, u"/"_s}, carpetaDelPrograma},
        {{u"--url"_s, QUrl::fromLocalFile(ruta(u"sub"_s)).toString(), u"--directorio"_s, u"/.."_s},
         carpetaDelPrograma}};
    for (const auto& [argumentos, motivo] : casos) {
        const Salida s = configurar(argumentos);
        EXPECT_EQ(s.estado, 2) << argumentos.join(u' ').toStdString();
        EXPECT_TRUE(s.errores.contains(motivo)) << s.errores.toStdString();
        EXPECT_FALSE(QFile::exists(ini)) << "nothing is written on wrong use or refused settings";
    }
    EXPECT_EQ(correr({u"--carpeta"_s, ruta(u"no-existe"_s), u"--mostrar"_s}).estado, 2);
    // The point-of-sale folder is saved alone; a remote folder that is not the program's is fine.
    ASSERT_EQ(configurar({u"--ruta-vendalia"_s, u"C:\\Vendalia Pro"_s}).estado, 0);
    EXPECT_EQ(leer(ini), u"[Configuración]\r\nRuta de Vendalia Pro=C:\\Vendalia Pro\r\n"_s.toUtf8());
    EXPECT_EQ(configurar({u"--url"_s, carpeta.path(), u"--directorio"_s, u"/publico"_s}).estado, 0);
}

#ifndef Q_OS_WIN // another user is another XDG_CONFIG_HOME here; on Windows, DPAPI and another profile
// Another user changes what was given and nothing else: what they cannot decipher keeps its bytes and is
// named. A saved empty user is a value, not one that cannot be deciphered. Without a key to encipher
// with, nothing is written.
TEST_F(ConfigurarTest, soloSeGrabaLoDadoYLoIlegibleSeConserva) {
    ASSERT_EQ(configurar({u"--usuario"_s, QString(), u"--url"_s, u"ftps://ftp.tienda.com"_s}).estado, 0);
    const Salida mostrado = configurar({u"--mostrar"_s});
    EXPECT_TRUE(mostrado.normal.contains(u"\nUsuario del FTP=\n"_s)) << mostrado.normal.toStdString();
    EXPECT_EQ(mostrado.errores, QString());

    const QByteArray antes = leer(ini);
    QTemporaryDir otroUsuario;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(otroUsuario.path()));
    const Salida ajeno = configurar({u"--intervalo"_s, u"2"_s});
    EXPECT_EQ(ajeno.estado, 0);
    EXPECT_TRUE(
        ajeno.errores.contains(u"aviso: no se puede descifrar \"Usuario del FTP\", \"Contraseña del FTP\", "
                               u"\"URL del FTP\", \"Directorio\": se cifró con la clave de otro usuario"_s))
        << ajeno.errores.toStdString();
    EXPECT_EQ(leer(ini), QByteArray(antes).replace("productos=0", "productos=2"));

    escribir(ruta(u"no-es-carpeta"_s), "x");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(ruta(u"no-es-carpeta"_s)));
    const Salida sinClave = configurar({u"--usuario"_s, u"ventas"_s, u"--intervalo"_s, u"3"_s});
    EXPECT_EQ(sinClave.estado, 1);
    EXPECT_TRUE(
        sinClave.errores.contains(u"no se puede cifrar \"Usuario del FTP\": no se puede crear la carpeta"_s))
        << sinClave.errores.toStdString();
    EXPECT_EQ(leer(ini), QByteArray(antes).replace("productos=0", "productos=2"));
}
#endif

} // namespace
