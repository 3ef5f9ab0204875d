// Finding the point-of-sale installation and completing its MySQL settings.

#include "components/Registro.h"
#include "config/ConexionQ7K.h"
#include "config_entorno.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QDir>

namespace {

struct DocumentoAbierto {
    QString ruta;
    qint16 ventana;
    qint16 mostrar;
};

// Nodex.DeArchivos that records the documents it is asked to open instead of opening them.
class DeArchivosQueAnota : public DeArchivosNucleo {
public:
    explicit DeArchivosQueAnota(std::shared_ptr<std::vector<DocumentoAbierto>> abiertos)
        : abiertos(std::move(abiertos)) {}
    void AbreDocumento(QString& ruta, qint16 ventana, qint16 mostrar) override {
        abiertos->push_back({ruta, ventana, mostrar});
    }

private:
    std::shared_ptr<std::vector<DocumentoAbierto>> abiertos;
};

class ConexionQ7KTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        registrarComponente(QStringLiteral("Nodex.DeArchivos"),
                            [a = abiertos] { return std::make_unique<DeArchivosQueAnota>(a); });
        ASSERT_TRUE(QDir(carpeta.path()).mkdir(QStringLiteral("vendalia")));
        q7k = ruta(QStringLiteral("vendalia/Q7K.ini"));
        ini = ruta(QStringLiteral("catalogo-ftp.ini"));
    }
    void preparar(quint8 respuesta = estilo::vbNo) {
        anotarMensajes(respuesta);
        ASSERT_TRUE(prepararCarpeta(carpeta.path()));
        ASSERT_TRUE(crearComponentes(false));
    }
    bool conectar(bool leerBase = true) {
        Modulo& m = modulo();
        return ConexionQ7K(*m.oKtfa, *m.oRegistro, *m.oBasesDD, ini, leerBase);
    }
    // The point-of-sale installation in `vendalia`, with these settings.
    void instalacion(const QString& ajustes) {
        escribir(q7k, (QStringLiteral("[Q7K]\r\n") + ajustes).toUtf8());
        escribir(ini,
                 (QStringLiteral("[Configuración]\r\nRuta de Vendalia Pro=") +
                  ruta(QStringLiteral("vendalia")) + QStringLiteral("\r\nBase de datos principal=tienda\r\n"))
                     .toUtf8());
    }
    QString ajuste(const QString& nombre) {
        return modulo().oKtfa->LeeIni(QStringLiteral("Q7K"), nombre, q7k);
    }
    QString cifrado(const QString& texto) { return UtileriasNucleo().Encripta(texto); }

    std::shared_ptr<std::vector<DocumentoAbierto>> abiertos =
        std::make_shared<std::vector<DocumentoAbierto>>();
    QString q7k;
    QString ini;
};

struct Servidor {
    const char* caso;
    QString ajustes;
    QString puertoGuardado;
    qint32 cPuerto;
    QString servidorGuardado;
};

void PrintTo(const Servidor& s, std::ostream* os) {
    *os << s.caso;
}

class ServidorYPuertoTest : public ConexionQ7KTest, public ::testing::WithParamInterface<Servidor> {};

TEST_P(ServidorYPuertoTest, completaLoQueFalta) {
    preparar();
    instalacion(GetParam().ajustes);
    ASSERT_TRUE(conectar());
    EXPECT_EQ(ajuste(QStringLiteral("MySQLPuerto")), GetParam().puertoGuardado);
    EXPECT_EQ(modulo().oBasesDD->cPuerto, GetParam().cPuerto);
    EXPECT_EQ(ajuste(QStringLiteral("MySQLServer")), GetParam().servidorGuardado);
    EXPECT_EQ(modulo().oBasesDD->cRuta, GetParam().servidorGuardado);
    EXPECT_EQ(modulo().oBasesDD->cMiBase, QStringLiteral("tienda"));
    EXPECT_TRUE(mensajes->empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ServidorYPuertoTest,
    ::testing::Values(Servidor{"NadaGuardado", QStringLiteral("servidor=caja1\r\n"), QStringLiteral("3306"),
                               3306, QStringLiteral("caja1")},
                      Servidor{"PuertoCero", QStringLiteral("MySQLPuerto=0\r\nMySQLServer=db\r\n"),
                               QStringLiteral("3306"), 3306, QStringLiteral("db")},
                      Servidor{"PuertoNoNumerico", QStringLiteral("MySQLPuerto=abc\r\nMySQLServer=db\r\n"),
                               QStringLiteral("3306"), 3306, QStringLiteral("db")},
                      Servidor{"PuertoPropio", QStringLiteral("MySQLPuerto=3307\r\nMySQLServer=db\r\n"),
                               QStringLiteral("3307"), 3307, QStringLiteral("db")},
                      Servidor{"ServidorEnBlanco",
                               QStringLiteral("MySQLServer=\"   \"\r\nservidor=caja2\r\n"),
                               QStringLiteral("3306"), 3306, QStringLiteral("caja2")},
                      Servidor{"SinServidorNiNombre", QStringLiteral("MySQLServer=\"   \"\r\n"),
                               QStringLiteral("3306"), 3306, QString()}),
    [](const auto& info) { return std::string(info.param.caso); });

TEST_F(ConexionQ7KTest, usuarioYContrasenaQueFaltanSeGuardanCifrados) {
    preparar();
    instalacion(QStringLiteral("servidor=caja1\r\nMySQLUsuario=\" \"\r\n"));
    ASSERT_TRUE(conectar());
    EXPECT_TRUE(ajuste(QStringLiteral("MySQLUsuario")).startsWith(QLatin1String("v1:")));
    EXPECT_TRUE(ajuste(QStringLiteral("MySQLPassword")).startsWith(QLatin1String("v1:")));
    EXPECT_EQ(modulo().oUtilerias->DesEncripta(ajuste(QStringLiteral("MySQLUsuario"))),
              QStringLiteral("root"));
    EXPECT_EQ(modulo().oBasesDD->cUsuario, QStringLiteral("root"));
    EXPECT_EQ(modulo().oBasesDD->cPassword, QString());
}

TEST_F(ConexionQ7KTest, usuarioYContrasenaGuardadosSeDescifran) {
    preparar();
    instalacion(QStringLiteral("MySQLServer=db\r\nMySQLUsuario=%1\r\nMySQLPassword=%2\r\n")
                    .arg(cifrado(QStringLiteral("ventas")), cifrado(QStringLiteral("s3creta ñ"))));
    const QByteArray antes = leer(q7k);
    ASSERT_TRUE(conectar());
    EXPECT_EQ(modulo().oBasesDD->cUsuario, QStringLiteral("ventas"));
    EXPECT_EQ(modulo().oBasesDD->cPassword, QStringLiteral("s3creta ñ"));
    EXPECT_EQ(leer(q7k).size(), antes.size() + QByteArray("MySQLPuerto=3306\r\n").size());
}

TEST_F(ConexionQ7KTest, sinPedirLaBaseNoLaLee) {
    preparar();
    instalacion(QStringLiteral("servidor=caja1\r\n"));
    escribir(ini,
             (QStringLiteral("[Configuración]\r\nRuta de Vendalia Pro=") + ruta(QStringLiteral("vendalia")))
                 .toUtf8());
    modulo().oBasesDD->cMiBase = QStringLiteral("antes");
    ASSERT_TRUE(conectar(false));
    EXPECT_EQ(modulo().oBasesDD->cMiBase, QStringLiteral("antes"));
    EXPECT_EQ(modulo().oKtfa->LeeIni(QStringLiteral("Configuración"),
                                     QStringLiteral("Base de datos principal"), ini),
              QString());
}

QString textoDeRutaIncorrecta(const QString& ini, const QString& carpeta) {
    return QStringLiteral("En el archivo de configuración de este programa\r\r(") + ini +
           QStringLiteral(
               ")\r\rdebe indicarse la ruta correcta de Vendalia Pro.\rRuta indicada e incorrecta: \r\r") +
           carpeta;
}

TEST_F(ConexionQ7KTest, sinArchivoDeConfiguracionExplicaYNoAbreNada) {
    preparar(estilo::vbNo);
    EXPECT_FALSE(conectar());
    EXPECT_EQ(
        modulo().oKtfa->LeeIni(QStringLiteral("Configuración"), QStringLiteral("Ruta de Vendalia Pro"), ini),
        QStringLiteral("C:\\vendaliapro"));
    ASSERT_EQ(mensajes->size(), 2u);
    EXPECT_EQ(mensajes->at(0).texto, textoDeRutaIncorrecta(ini, QStringLiteral("C:\\vendaliapro")));
    EXPECT_EQ(mensajes->at(0).estilo, 16);
    EXPECT_EQ(mensajes->at(0).titulo, QStringLiteral("Atención"));
    EXPECT_EQ(mensajes->at(1).texto, QStringLiteral("¿Desea editar el archivo de configuración?"));
    EXPECT_EQ(mensajes->at(1).estilo, 36);
    EXPECT_EQ(mensajes->at(1).titulo, QStringLiteral("Editar INI"));
    EXPECT_TRUE(abiertos->empty());
    EXPECT_FALSE(QFile::exists(q7k));
}

TEST_F(ConexionQ7KTest, conSiAbreElArchivoDeConfiguracion) {
    preparar(estilo::vbYes);
    const QString otra = ruta(QStringLiteral("otra"));
    escribir(ini, (QStringLiteral("[Configuración]\r\nRuta de Vendalia Pro=") + otra + QStringLiteral("\r\n"))
                      .toUtf8());
    EXPECT_FALSE(conectar());
    ASSERT_EQ(mensajes->size(), 2u);
    EXPECT_EQ(mensajes->at(0).texto, textoDeRutaIncorrecta(ini, otra));
    ASSERT_EQ(abiertos->size(), 1u);
    EXPECT_EQ(abiertos->at(0).ruta, ini);
    EXPECT_EQ(abiertos->at(0).ventana, 0);
    EXPECT_EQ(abiertos->at(0).mostrar, 1);
}

TEST_F(ConexionQ7KTest, elArranqueTerminaSinPuntoDeVenta) {
    anotarMensajes(estilo::vbNo);
    EXPECT_EQ(arrancarNucleo(carpeta.path(), false), Arranque::sinPuntoDeVenta);
    // The FTP settings are not read: only the point-of-sale folder is in the file.
    EXPECT_EQ(modulo().oKtfa->LeeIni(QStringLiteral("Configuración"), QStringLiteral("Archivo para el FTP"),
                                     modulo().cArchivoINI),
              QString());
}

} // namespace
