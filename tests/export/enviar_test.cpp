// `catalogo-ftp enviar` and `catalogo-ftp demo`, run as a scheduled task or a newcomer would run them.

#include "app/Salidas.h"
#include "components/ArchivoIni.h"
#include "components/Nucleo.h"
#include "modulo/CandadoDeEnvio.h"
#include "tienda_de_prueba.h"
#include "winapi/ansi.h"

#include <QCoreApplication>
#include <QLockFile>
#include <utility>

namespace {

class Enviar : public ::testing::Test {
protected:
    void SetUp() override {
        if (!tienda.abrir(Motor::MariaDB, 300))
            return;
        carpeta = modulo().cCarpeta;
        // This test program's own settings file becomes the program's.
        QFile::copy(modulo().cArchivoINI, carpeta + "/catalogo-ftp.ini");
        // The command starts the program afresh in the same folder.
        reiniciarModulo();
    }
    TiendaDePrueba tienda;
    QString carpeta;
};

// One send at a time per program folder: a second one waits for the first and gives up after a while.
// The send let through says how it went.
TEST_F(Enviar, UnoALaVezPorCarpetaYLoDiceEnLineasYEnElRegistro) {
    const QString candado = carpeta + "/catalogo-ftp.lock";
    QLockFile otroEnvio(candado);
    ASSERT_TRUE(otroEnvio.lock());
    // Waiting in vain: the sender is named, and the window repaints meanwhile.
    const int espera = std::exchange(CandadoDeEnvio::nMilisegundosDeEspera, 300);
    CandadoDeEnvio segundo(carpeta);
    int esperas = 0;
    QString error;
    EXPECT_EQ(segundo.tomar([&] { ++esperas; }, &error), CandadoDeEnvio::Toma::ocupado);
    CandadoDeEnvio::nMilisegundosDeEspera = espera;
    EXPECT_GT(esperas, 2);
    EXPECT_TRUE(error.contains(QString("(proceso %1)").arg(QCoreApplication::applicationPid())));

    Ejecucion e({"enviar", "--carpeta", carpeta});
    EXPECT_FALSE(e.proceso.waitForFinished(1000)) << "did not wait for the other send";
    otroEnvio.unlock();

    EXPECT_EQ(e.estado(), salida::kHecho) << e.salida.toStdString() << e.errores.toStdString();
    // Lines end in CR LF on Windows.
    for (const char* linea :
         {"Producto 300 de 300: | P000300 | ", "Enviando archivo...", "De 'catalogo.csv': bytes copiados "})
        EXPECT_TRUE(e.salida.contains(linea)) << linea;
    EXPECT_TRUE(e.salida.contains("Enviado: /catalogo.csv"));
    EXPECT_TRUE(e.salida.trimmed().endsWith("Primera publicación"));
    EXPECT_EQ(tienda.publicado().count("\r\n"), 300);
    EXPECT_TRUE(leerArchivo(carpeta + "/catalogo-ftp.log").contains("300 l\xC3\xADneas de 300 productos"));
}

// What the shop must correct is said in the output, once per send, with the reason, and in the log.
TEST_F(Enviar, LosProblemasSeDicenEnLaSalidaConSuMotivo) {
    tienda.base.ejecutar("DROP TABLE marcas");
    escribirArchivo(carpeta + "/ListaDeCampos.dat", "Clave\r\nNoEsColumna\r\nMarca\r\nnoescolumna\r\n");
    // Enciphered under another user's key: the empty password it stood for is the right one, so it is
    // only named when the database does not open.
    const QString ajena = "v1:QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9w";
    ini::escribir(carpeta + "/vendalia/Q7K.ini", "Q7K", "MySQLPassword", ajena);
    struct Caso {
        QString clave; // the setting changed before the send, and its value
        QString valor;
        int estado;
        QStringList dichos; // output lines; the log has them too, after "warning" or "error"
    };
    const Caso casos[] = {
        // The warnings come before the upload, which the server refuses.
        {"Usuario del FTP",
         UtileriasNucleo().Encripta("intruso"),
         salida::kSinConexionFtp,
         {"Aviso: el campo \"NoEsColumna\" no es una columna de la tabla productos; se envía vacío",
          "Aviso: no se pudo leer la tabla marcas (Table", "No se envió: 530"}},
        {"URL del FTP",
         ajena,
         salida::kSinConexionFtp,
         {"No se envió: no se puede descifrar \"URL del FTP\": se cifró con la clave de otro usuario"}},
        {"Base de datos principal",
         "no_existe",
         salida::kSinBaseDeDatos,
         {"No se envió: no se pudo abrir la base de datos 'no_existe': Unknown database",
          "; no se puede descifrar \"MySQLPassword\": se cifró con la clave de otro usuario"}},
    };
    for (const Caso& caso : casos) {
        ini::escribir(carpeta + "/catalogo-ftp.ini", "Configuración", caso.clave, caso.valor);
        QFile::remove(carpeta + "/catalogo-ftp.log");
        Ejecucion e({"enviar", "--carpeta", carpeta});
        EXPECT_EQ(e.estado(), caso.estado) << e.salida.toStdString();
        const QStringList bitacora =
            QString::fromUtf8(leerArchivo(carpeta + "/catalogo-ftp.log")).split('\n');
        EXPECT_FALSE(e.salida.contains("URL no es v"));
        for (const QString& dicho : caso.dichos) {
            EXPECT_EQ(e.salida.count(dicho), 1) << e.salida.toStdString();
            const QString sinPrefijo = dicho.section(": ", 1, -1);
            const QString nivel = dicho.startsWith("Aviso") ? " warning [" : " error [";
            EXPECT_FALSE(bitacora.filter(sinPrefijo).filter(nivel).isEmpty()) << sinPrefijo.toStdString();
        }
    }
}

// Nothing the program cannot do stops it waiting for an answer: it says so on standard error. A folder
// of its own, as this process keeps the shop's log open (Windows would not let it go).
TEST(EnviarSinTienda, SinPuntoDeVentaNiBitacoraExplicaYTerminaSinEsperarRespuesta) {
    QTemporaryDir vacia;
    const QString carpeta = vacia.path();
    ASSERT_TRUE(QDir().mkdir(carpeta + "/catalogo-ftp.log"));

    Ejecucion e({"enviar", "--carpeta", carpeta});

    EXPECT_EQ(e.estado(), salida::kSinArranque);
    for (const QString& dicho : QStringList{
             "debe indicarse la ruta correcta de Vendalia Pro.", "¿Desea editar el archivo de configuración?",
             "No se puede escribir la bitácora " + carpeta + "/catalogo-ftp.log: "})
        EXPECT_TRUE(e.errores.contains(dicho)) << e.errores.toStdString();
}

// A second run reuses the shop as the first left it.
TEST(Demo, PublicaElCatalogoDeMuestraSinNadaMas) {
    QTemporaryDir carpeta;
    QTemporaryDir usuario;
    const QStringList orden = {"demo", "--carpeta", carpeta.path()};
    Ejecucion e(orden, {"XDG_CONFIG_HOME=" + usuario.path()});

    EXPECT_EQ(e.estado(), salida::kHecho) << e.salida.toStdString() << e.errores.toStdString();
    const QString publicado = carpeta.path() + "/sitio-ftp/catalogo/productos.csv";
    const QByteArray bytes = leerArchivo(publicado);
    EXPECT_EQ(bytes.count("\r\n"), 3000);
    EXPECT_TRUE(e.salida.contains("Archivo publicado: " + publicado));
    EXPECT_TRUE(e.salida.contains("  " + desdeAnsi(bytes.left(bytes.indexOf('\r'))))) << "primeras líneas";
    EXPECT_EQ(Ejecucion(orden, {"XDG_CONFIG_HOME=" + usuario.path()}).estado(), salida::kHecho);
}

} // namespace
