// Finding the point-of-sale installation and completing its MySQL settings.

#include "components/Registro.h"
#include "config/ConexionQ7K.h"
#include "config_entorno.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QDir>

using namespace Qt::StringLiterals;

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
        registrarComponente(u"Nodex.DeArchivos"_s,
                            [a = abiertos] { return std::make_unique<DeArchivosQueAnota>(a); });
        ASSERT_TRUE(QDir(carpeta.path()).mkdir(u"vendalia"_s));
        q7k = ruta(u"vendalia/Q7K.ini"_s);
        ini = ruta(u"catalogo-ftp.ini"_s);
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
        escribir(q7k, (u"[Q7K]\r\n"_s + ajustes).toUtf8());
        escribir(ini, (u"[Configuración]\r\nRuta de Vendalia Pro="_s + ruta(u"vendalia"_s) +
                       u"\r\nBase de datos principal=tienda\r\n"_s)
                          .toUtf8());
    }
    QString ajuste(const QString& nombre) { return modulo().oKtfa->LeeIni(u"Q7K"_s, nombre, q7k); }
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
    EXPECT_EQ(ajuste(u"MySQLPuerto"_s), GetParam().puertoGuardado);
    EXPECT_EQ(modulo().oBasesDD->cPuerto, GetParam().cPuerto);
    EXPECT_EQ(ajuste(u"MySQLServer"_s), GetParam().servidorGuardado);
    EXPECT_EQ(modulo().oBasesDD->cRuta, GetParam().servidorGuardado);
    EXPECT_EQ(modulo().oBasesDD->cMiBase, u"tienda"_s);
    EXPECT_TRUE(mensajes->empty());
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ServidorYPuertoTest,
    ::testing::Values(
        Servidor{"NadaGuardado", u"servidor=caja1\r\n"_s, u"3306"_s, 3306, u"caja1"_s},
        Servidor{"PuertoCero", u"MySQLPuerto=0\r\nMySQLServer=db\r\n"_s, u"3306"_s, 3306, u"db"_s},
        Servidor{"PuertoNoNumerico", u"MySQLPuerto=abc\r\nMySQLServer=db\r\n"_s, u"3306"_s, 3306, u"db"_s},
        Servidor{"PuertoPropio", u"MySQLPuerto=3307\r\nMySQLServer=db\r\n"_s, u"3307"_s, 3307, u"db"_s},
        Servidor{"ServidorEnBlanco", u"MySQLServer=\"   \"\r\nservidor=caja2\r\n"_s, u"3306"_s, 3306,
                 u"caja2"_s},
        Servidor{"SinServidorNiNombre", u"MySQLServer=\"   \"\r\n"_s, u"3306"_s, 3306, QString()}),
    [](const auto& info) { return std::string(info.param.caso); });

TEST_F(ConexionQ7KTest, usuarioYContrasenaQueFaltanSeGuardanCifrados) {
    preparar();
    instalacion(u"servidor=caja1\r\nMySQLUsuario=\" \"\r\n"_s);
    ASSERT_TRUE(conectar());
    EXPECT_TRUE(ajuste(u"MySQLUsuario"_s).startsWith(u"v1:"_s));
    EXPECT_TRUE(ajuste(u"MySQLPassword"_s).startsWith(u"v1:"_s));
    EXPECT_EQ(modulo().oUtilerias->DesEncripta(ajuste(u"MySQLUsuario"_s)), u"root"_s);
    EXPECT_EQ(modulo().oBasesDD->cUsuario, u"root"_s);
    EXPECT_EQ(modulo().oBasesDD->cPassword, QString());
}

TEST_F(ConexionQ7KTest, usuarioYContrasenaGuardadosSeDescifran) {
    preparar();
    instalacion(u"MySQLServer=db\r\nMySQLUsuario=%1\r\nMySQLPassword=%2\r\n"_s.arg(cifrado(u"ventas"_s),
                                                                                   cifrado(u"s3creta ñ"_s)));
    const QByteArray antes = leer(q7k);
    ASSERT_TRUE(conectar());
    EXPECT_EQ(modulo().oBasesDD->cUsuario, u"ventas"_s);
    EXPECT_EQ(modulo().oBasesDD->cPassword, u"s3creta ñ"_s);
    EXPECT_EQ(leer(q7k).size(), antes.size() + QByteArray("MySQLPuerto=3306\r\n").size());
}

QString textoDeRutaIncorrecta(const QString& ini, const QString& carpeta) {
    return u"En el archivo de configuración de este programa\r\r("_s + ini +
           QStringLiteral(
               ")\r\rdebe indicarse la ruta correcta de Vendalia Pro.\rRuta indicada e incorrecta: \r\r") +
           carpeta;
}

TEST_F(ConexionQ7KTest, sinArchivoDeConfiguracionExplicaYNoAbreNada) {
    preparar(estilo::vbNo);
    EXPECT_FALSE(conectar());
    EXPECT_EQ(modulo().oKtfa->LeeIni(u"Configuración"_s, u"Ruta de Vendalia Pro"_s, ini),
              u"C:\\vendaliapro"_s);
    ASSERT_EQ(mensajes->size(), 2u);
    EXPECT_EQ(mensajes->at(0).texto, textoDeRutaIncorrecta(ini, u"C:\\vendaliapro"_s));
    EXPECT_EQ(mensajes->at(0).estilo, 16);
    EXPECT_EQ(mensajes->at(0).titulo, u"Atención"_s);
    EXPECT_EQ(mensajes->at(1).texto, u"¿Desea editar el archivo de configuración?"_s);
    EXPECT_EQ(mensajes->at(1).estilo, 36);
    EXPECT_EQ(mensajes->at(1).titulo, u"Editar INI"_s);
    EXPECT_TRUE(abiertos->empty());
    EXPECT_FALSE(QFile::exists(q7k));
}

TEST_F(ConexionQ7KTest, conSiAbreElArchivoDeConfiguracion) {
    preparar(estilo::vbYes);
    const QString otra = ruta(u"otra"_s);
    escribir(ini, (u"[Configuración]\r\nRuta de Vendalia Pro="_s + otra + u"\r\n"_s).toUtf8());
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
    EXPECT_EQ(modulo().oKtfa->LeeIni(u"Configuración"_s, u"Archivo para el FTP"_s, modulo().cArchivoINI),
              QString());
}

} // namespace
