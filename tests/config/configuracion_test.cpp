// The settings file as start-up leaves it, the settings in memory, and the save of the configuration tab.

#include "app/Arranque.h"
#include "components/Registro.h"
#include "config/Configuracion.h"
#include "config_entorno.h"
#include "modulo/Modulo.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

const QString kIntervalo = u"Intervalo en minutos para enviar productos"_s;

class ConfiguracionTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        ASSERT_TRUE(QDir(carpeta.path()).mkdir(u"vendalia"_s));
        escribir(ruta(u"vendalia/Q7K.ini"_s), "[Q7K]\r\nservidor=127.0.0.1\r\n");
    }
    // Start-up with a settings file holding the point-of-sale folder and `resto`.
    void arrancar(const QString& resto) {
        escribir(ini,
                 (u"[Configuración]\r\nRuta de Vendalia Pro="_s + ruta(u"vendalia"_s) + u"\r\n"_s + resto)
                     .toUtf8());
        ASSERT_EQ(arrancarNucleo(carpeta.path(), false), Arranque::listo);
    }
    // The key lines of the settings file, in file order.
    QStringList claves() const {
        QStringList lineas = QString::fromUtf8(leer(ini)).split(u"\r\n"_s).filter(u"="_s);
        for (QString& linea : lineas)
            linea.truncate(linea.indexOf(u'='));
        return lineas;
    }
    // The FTP settings in memory: file, user, password, URL, folder, interval.
    static QStringList enMemoria() {
        const Modulo& m = modulo();
        return {m.cArchivoFTP, m.cUsuarioFTP,    m.cClaveFTP,
                m.cURLFTP,     m.cDirectorioFTP, QString::number(m.nIntervalo)};
    }
    QString ini = ruta(nombreDelEjecutable() + u".ini"_s);
};

const QStringList kPorDefecto{u"Archivo"_s, u"Usuario"_s,         u"Palabras"_s,
                              u"URL"_s,     u"/CarpetaDelFTP/"_s, u"0"_s};

// The first start-up writes every missing key with its default, the secret ones enciphered; an empty
// key counts as missing.
TEST_F(ConfiguracionTest, elPrimerArranqueEscribeLasOchoClaves) {
    arrancar(u"Archivo para el FTP=\r\n"_s);
    EXPECT_EQ(claves(),
              QStringList({u"Ruta de Vendalia Pro"_s, u"Archivo para el FTP"_s, u"Base de datos principal"_s,
                           u"Usuario del FTP"_s, u"Contraseña del FTP"_s, u"URL del FTP"_s, u"Directorio"_s,
                           kIntervalo}));
    EXPECT_EQ(ajustesGuardados(ini), QStringList({u"datos1"_s, u"0"_s, u"URL"_s, u"Usuario"_s, u"Palabras"_s,
                                                  u"Archivo"_s, u"/CarpetaDelFTP/"_s}));
    EXPECT_EQ(enMemoria(), kPorDefecto);
    EXPECT_EQ(modulo().oBasesDD->cMiBase, u"datos1"_s);
    EXPECT_EQ(QDir::currentPath(), QDir(carpeta.path()).canonicalPath());

    // A settings file that cannot be written (its folder is a file) must not stop start-up: the
    // defaults are used as they are.
    escribir(ruta(u"no-es-carpeta"_s), "x");
    modulo().cArchivoINI = ruta(u"no-es-carpeta/catalogo-ftp.ini"_s);
    EXPECT_EQ(LeeIniConDefecto(u"Configuración"_s, u"Base de datos principal"_s, u"datos1"_s), u"datos1"_s);
    LeeConfiguracion();
    EXPECT_EQ(enMemoria(), kPorDefecto);
}

// In memory the folder ends with a slash and only the file's name is kept; the file keeps what the
// user wrote.
TEST_F(ConfiguracionTest, grabarYLeerLaConfiguracion) {
    arrancar(u"Directorio=%1\r\nArchivo para el FTP=C:\\datos\\lista.txt\r\n"_s.arg(
        UtileriasNucleo().Encripta(u"/catalogo"_s)));
    EXPECT_EQ(modulo().cDirectorioFTP, u"/catalogo/"_s);
    EXPECT_EQ(modulo().cArchivoFTP, u"lista.txt"_s);
    EXPECT_EQ(ajustesGuardados(ini).mid(5), QStringList({u"C:\\datos\\lista.txt"_s, u"/catalogo"_s}));

    // Empty boxes are saved empty; the next read gives the file name its default back, while an
    // enciphered empty text is a value, not a missing key.
    GrabarConfiguracion({QString(), QString(), QString(), QString(), QString(), QString(), QString()});
    EXPECT_EQ(ajustesGuardados(ini), QStringList({QString(), u"0"_s, {}, {}, {}, {}, {}}));
    LeeConfiguracion();
    EXPECT_EQ(enMemoria(), QStringList({u"Archivo"_s, {}, {}, {}, u"/"_s, u"0"_s}));
}

// An interval edited by hand is read as it always was: a whole number of 16 bits (below 1, no automatic
// send); anything else counts as 0. Saved from the box it is always a whole number.
TEST_F(ConfiguracionTest, elIntervaloEscritoAManoSeLeeComoSiempre) {
    const std::pair<const char*, qint16> casos[] = {{"15", 15}, {"-5", -5},   {"15000", 15000},
                                                    {"2.5", 0}, {"40000", 0}, {"diez", 0}};
    for (const auto& [aMano, leido] : casos) {
        arrancar(kIntervalo + u"="_s + QString::fromUtf8(aMano) + u"\r\n"_s);
        EXPECT_EQ(modulo().nIntervalo, leido) << aMano;
    }
}

} // namespace
