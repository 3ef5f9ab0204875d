// Finding the point-of-sale installation and completing its MySQL settings.

#include "app/Arranque.h"
#include "components/Registro.h"
#include "config/ConexionQ7K.h"
#include "config_entorno.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

// Nodex.DeArchivos that records the documents it is asked to open instead of opening them.
class DeArchivosQueAnota : public DeArchivosNucleo {
public:
    explicit DeArchivosQueAnota(std::shared_ptr<QStringList> abiertos) : abiertos(std::move(abiertos)) {}
    void AbreDocumento(QString& ruta, qint16 ventana, qint16 mostrar) override {
        *abiertos << u"%1 %2 %3"_s.arg(ruta).arg(ventana).arg(mostrar);
    }

private:
    std::shared_ptr<QStringList> abiertos;
};

class ConexionQ7KTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        registrarComponente(u"Nodex.DeArchivos"_s,
                            [a = abiertos] { return std::make_unique<DeArchivosQueAnota>(a); });
        ASSERT_TRUE(QDir(carpeta.path()).mkdir(u"vendalia"_s));
    }
    // Connects with the point-of-sale installation in `vendalia` holding these settings (none: no
    // installation at all), the user answering `respuesta` to any question.
    bool conectar(const QString& ajustes, quint8 respuesta = estilo::vbNo) {
        anotarMensajes(respuesta);
        EXPECT_TRUE(prepararCarpeta(carpeta.path()) && crearComponentes(false));
        if (!ajustes.isNull()) {
            escribir(q7k, (u"[Q7K]\r\n"_s + ajustes).toUtf8());
            escribir(ini, (u"[Configuración]\r\nRuta de Vendalia Pro="_s + ruta(u"vendalia"_s) +
                           u"\r\nBase de datos principal=tienda\r\n"_s)
                              .toUtf8());
        }
        Modulo& m = modulo();
        return ConexionQ7K(*m.oKtfa, *m.oRegistro, *m.oBasesDD, ini, true);
    }
    QString ajuste(const QString& nombre) { return modulo().oKtfa->LeeIni(u"Q7K"_s, nombre, q7k); }

    std::shared_ptr<QStringList> abiertos = std::make_shared<QStringList>();
    QString q7k = ruta(u"vendalia/Q7K.ini"_s);
    QString ini = ruta(u"catalogo-ftp.ini"_s);
};

// What the point of sale leaves out is completed and saved: port 3306, its own server name, user root.
TEST_F(ConexionQ7KTest, completaLoQueFaltaYDescifraLoGuardado) {
    const std::vector<std::tuple<const char*, QString, qint32, QString>> casos{
        {"nada guardado", u"servidor=caja1\r\n"_s, 3306, u"caja1"_s},
        {"puerto cero", u"MySQLPuerto=0\r\nMySQLServer=db\r\n"_s, 3306, u"db"_s},
        {"puerto propio", u"MySQLPuerto=3307\r\nMySQLServer=db\r\n"_s, 3307, u"db"_s},
        {"servidor en blanco", u"MySQLServer=\"   \"\r\nservidor=caja2\r\n"_s, 3306, u"caja2"_s},
        {"sin servidor ni nombre", u"MySQLServer=\"   \"\r\nMySQLPuerto=abc\r\n"_s, 3306, QString()}};
    for (const auto& [caso, ajustes, puerto, servidor] : casos) {
        SCOPED_TRACE(caso);
        ASSERT_TRUE(conectar(ajustes));
        EXPECT_EQ(ajuste(u"MySQLPuerto"_s), QString::number(puerto));
        EXPECT_EQ(modulo().oBasesDD->cPuerto, puerto);
        EXPECT_EQ(ajuste(u"MySQLServer"_s), servidor);
        EXPECT_EQ(modulo().oBasesDD->cRuta, servidor);
        EXPECT_EQ(modulo().oBasesDD->cMiBase, u"tienda"_s);
    }

    // A missing user and password are saved enciphered; saved ones are deciphered and left as they are.
    ASSERT_TRUE(conectar(u"servidor=caja1\r\nMySQLUsuario=\" \"\r\n"_s));
    EXPECT_TRUE(ajuste(u"MySQLPassword"_s).startsWith(u"v1:"_s));
    EXPECT_EQ(modulo().oUtilerias->DesEncripta(ajuste(u"MySQLUsuario"_s)), u"root"_s);
    EXPECT_EQ(modulo().oBasesDD->cUsuario, u"root"_s);
    EXPECT_EQ(modulo().oBasesDD->cPassword, QString());

    const QString ajustes =
        u"MySQLServer=db\r\nMySQLPuerto=1\r\nMySQLUsuario=%1\r\nMySQLPassword=%2\r\n"_s.arg(
            UtileriasNucleo().Encripta(u"ventas"_s), UtileriasNucleo().Encripta(u"s3creta ñ"_s));
    ASSERT_TRUE(conectar(ajustes));
    EXPECT_EQ(modulo().oBasesDD->cUsuario, u"ventas"_s);
    EXPECT_EQ(modulo().oBasesDD->cPassword, u"s3creta ñ"_s);
    EXPECT_EQ(leer(q7k), (u"[Q7K]\r\n"_s + ajustes).toUtf8());
    EXPECT_TRUE(mensajes->empty());
}

// Without the point of sale the user is told where the program looked, and offered the settings file.
TEST_F(ConexionQ7KTest, sinPuntoDeVentaExplicaYOfreceEditar) {
    EXPECT_FALSE(conectar(QString()));
    EXPECT_EQ(modulo().oKtfa->LeeIni(u"Configuración"_s, u"Ruta de Vendalia Pro"_s, ini),
              u"C:\\vendaliapro"_s);
    ASSERT_EQ(mensajes->size(), 2u);
    EXPECT_EQ(mensajes->at(0).texto, u"En el archivo de configuración de este programa\r\r("_s + ini +
                                         u")\r\rdebe indicarse la ruta correcta de Vendalia Pro.\r"
                                         u"Ruta indicada e incorrecta: \r\rC:\\vendaliapro"_s);
    EXPECT_EQ(mensajes->at(0).estilo, 16);
    EXPECT_EQ(mensajes->at(0).titulo, u"Atención"_s);
    EXPECT_EQ(mensajes->at(1).estilo, 36);
    EXPECT_TRUE(abiertos->empty());
    EXPECT_FALSE(QFile::exists(q7k));

    EXPECT_FALSE(conectar(QString(), estilo::vbYes));
    EXPECT_EQ(*abiertos, QStringList{ini + u" 0 1"_s});
}

} // namespace
