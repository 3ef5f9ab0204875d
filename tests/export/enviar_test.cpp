// `catalogo-ftp enviar` and `catalogo-ftp demo`, run as a scheduled task or a newcomer would run them.

#include "components/ArchivoIni.h"
#include "components/Nucleo.h"
#include "entorno.h"
#include "export/ComandoEnviar.h"
#include "modulo/CandadoDeEnvio.h"
#include "modulo/Modulo.h"
#include "tienda_de_prueba.h"
#include "winapi/ansi.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <utility>

namespace {

struct Ejecucion {
    int estado = -1;
    QString salida;
    QString errores;
};

// Runs the program with no display and nothing on its standard input, as a scheduled task does.
Ejecucion ejecutar(const QStringList& argumentos, const QStringList& entorno = {}) {
    QProcess proceso;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.remove("DISPLAY");
    variables.remove("WAYLAND_DISPLAY");
    for (const QString& variable : entorno)
        variables.insert(variable.section('=', 0, 0), variable.section('=', 1));
    proceso.setProcessEnvironment(variables);
    proceso.setStandardInputFile(QProcess::nullDevice());
    proceso.start(CATALOGO_EJECUTABLE, argumentos);
    if (!proceso.waitForFinished(60000))
        proceso.kill();
    return {proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1,
            QString::fromUtf8(proceso.readAllStandardOutput()),
            QString::fromUtf8(proceso.readAllStandardError())};
}

class Enviar : public ::testing::Test {
protected:
    void SetUp() override {
        const bool listo = tienda.preparar(Motor::MariaDB, 300);
        REQUERIR_SERVIDOR(listo, tienda.motivo().toStdString());
        carpeta = modulo().cCarpeta;
        // This test program's own settings file becomes the program's.
        QFile::copy(modulo().cArchivoINI, carpeta + "/catalogo-ftp.ini");
        // The command starts the program afresh in the same folder.
        reiniciarModulo();
    }
    TiendaDePrueba tienda;
    QString carpeta;
};

TEST_F(Enviar, PublicaYLoDiceEnLineasYEnElRegistro) {
    const Ejecucion e = ejecutar({"enviar", "--carpeta", carpeta});

    EXPECT_EQ(e.estado, salida::kEnviado) << e.salida.toStdString() << e.errores.toStdString();
    EXPECT_TRUE(e.salida.contains("Producto 300 de 300: | P000300 | "));
    EXPECT_TRUE(e.salida.contains("Enviando archivo...\n"));
    EXPECT_TRUE(e.salida.contains("De 'catalogo.csv': bytes copiados "));
    EXPECT_TRUE(e.salida.endsWith("Enviado: /catalogo.csv\n"));
    EXPECT_EQ(tienda.publicado().count("\r\n"), 300);
    QFile registro(carpeta + "/catalogo-ftp.log");
    ASSERT_TRUE(registro.open(QIODevice::ReadOnly));
    EXPECT_TRUE(registro.readAll().contains("300 l\xC3\xADneas de 300 productos"));
}

// What the shop must correct is said in the output, once per send, with the reason, and in the log.
TEST_F(Enviar, LosProblemasSeDicenEnLaSalidaConSuMotivo) {
    tienda.base.ejecutar("DROP TABLE marcas");
    QFile campos(carpeta + "/ListaDeCampos.dat");
    ASSERT_TRUE(campos.open(QIODevice::WriteOnly));
    campos.write("Clave\r\nNoEsColumna\r\nMarca\r\nnoescolumna\r\n");
    campos.close();
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
        // Enciphered under another user's key.
        {"URL del FTP",
         "v1:QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9w",
         salida::kSinConexionFtp,
         {"No se envió: no se puede descifrar \"URL del FTP\": se cifró con la clave de otro usuario"}},
        {"Base de datos principal",
         "no_existe",
         salida::kSinBaseDeDatos,
         {"No se envió: no se pudo abrir la base de datos 'no_existe': Unknown database"}},
    };
    for (const Caso& caso : casos) {
        ini::escribir(carpeta + "/catalogo-ftp.ini", "Configuración", caso.clave, caso.valor);
        QFile::remove(carpeta + "/catalogo-ftp.log");
        const Ejecucion e = ejecutar({"enviar", "--carpeta", carpeta});
        QFile registro(carpeta + "/catalogo-ftp.log");
        ASSERT_TRUE(registro.open(QIODevice::ReadOnly));
        const QStringList bitacora = QString::fromUtf8(registro.readAll()).split('\n');
        EXPECT_EQ(e.estado, caso.estado) << e.salida.toStdString();
        EXPECT_FALSE(e.salida.contains("URL no es v"));
        for (const QString& dicho : caso.dichos) {
            EXPECT_EQ(e.salida.count(dicho), 1) << e.salida.toStdString();
            const QString sinPrefijo = dicho.section(": ", 1, -1);
            const QString nivel = dicho.startsWith("Aviso") ? " warning [" : " error [";
            EXPECT_FALSE(bitacora.filter(sinPrefijo).filter(nivel).isEmpty()) << sinPrefijo.toStdString();
        }
    }
}

// One send at a time per program folder: a second one waits for the first, gives up after a while, and
// is not stopped by a lock left by a crashed process.
TEST_F(Enviar, UnEnvioALaVezPorCarpeta) {
    const QString candado = carpeta + "/catalogo-ftp.lock";
    const QString publicado = tienda.ftp.carpeta() + "/catalogo.csv";
    QLockFile otroEnvio(candado);
    ASSERT_TRUE(otroEnvio.lock());
    // Waiting in vain: the sender is named, and the window repaints meanwhile.
    const int espera = std::exchange(CandadoDeEnvio::nMilisegundosDeEspera, 300);
    CandadoDeEnvio segundo(carpeta);
    int esperas = 0;
    EXPECT_FALSE(segundo.tomar([&] { ++esperas; }));
    CandadoDeEnvio::nMilisegundosDeEspera = espera;
    EXPECT_GT(esperas, 2);
    EXPECT_TRUE(segundo.motivo().contains(QString("(proceso %1)").arg(QCoreApplication::applicationPid())));
    QProcess envio;
    envio.start(CATALOGO_EJECUTABLE, {"enviar", "--carpeta", carpeta});
    EXPECT_FALSE(envio.waitForFinished(1000)) << "did not wait for the other send";
    EXPECT_FALSE(QFile::exists(publicado)) << "sent while the other send held the folder";
    otroEnvio.unlock();
    ASSERT_TRUE(envio.waitForFinished(30000));
    EXPECT_EQ(envio.exitCode(), salida::kEnviado) << envio.readAllStandardOutput().toStdString();
    EXPECT_TRUE(QFile::exists(publicado));

    QFile::remove(publicado);
    EXPECT_DEATH(
        {
            QLockFile caido(candado);
            caido.lock();
            std::abort();
        },
        "");
#ifndef Q_OS_WIN
    // Windows may drop the file with the dead process's handle; elsewhere it stays for the next send.
    ASSERT_TRUE(QFile::exists(candado)) << "the crashed process left its lock";
#endif
    EXPECT_EQ(ejecutar({"enviar", "--carpeta", carpeta}).estado, salida::kEnviado);
    EXPECT_TRUE(QFile::exists(publicado));
}

TEST_F(Enviar, SinPuntoDeVentaExplicaYTerminaSinEsperarRespuesta) {
    QFile::remove(carpeta + "/vendalia/Q7K.ini");

    const Ejecucion e = ejecutar({"enviar", "--carpeta", carpeta});

    EXPECT_EQ(e.estado, salida::kSinArranque);
    EXPECT_TRUE(e.errores.contains("debe indicarse la ruta correcta de Vendalia Pro."))
        << e.errores.toStdString();
    EXPECT_TRUE(e.errores.contains("¿Desea editar el archivo de configuración?"));
}

TEST_F(Enviar, LosNumerosLlevanElSeparadorDecimalRegional) {
    tienda.base.insertar({[] {
        auto p = productoDePrueba("ZZ1", "Clavo");
        p.Precio3 = 85.5;
        return p;
    }()});
    const auto camposDePrecio = [&] {
        QFile campos(carpeta + "/ListaDeCampos.dat");
        campos.open(QIODevice::WriteOnly);
        campos.write("Clave\r\nPrecio3\r\n");
    };
    camposDePrecio();
    QFile lista(carpeta + "/ListaProductosReja.dat");
    ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
    lista.write("ZZ1\r\nClavo\r\n");
    lista.close();

    const Ejecucion e =
        ejecutar({"enviar", "--carpeta", carpeta}, {"LC_ALL=es_ES.UTF-8", "LANG=es_ES.UTF-8"});

    EXPECT_EQ(e.estado, salida::kEnviado);
    EXPECT_EQ(tienda.publicado(), QByteArray("\"ZZ1\",\"85,5\"\r\n"));
}

TEST(Demo, PublicaElCatalogoDeMuestraSinNadaMas) {
    QTemporaryDir carpeta;
    QTemporaryDir usuario;
    const Ejecucion e =
        ejecutar({"demo", "--carpeta", carpeta.path()}, {"XDG_CONFIG_HOME=" + usuario.path()});

    EXPECT_EQ(e.estado, salida::kEnviado) << e.salida.toStdString() << e.errores.toStdString();
    QFile publicado(carpeta.path() + "/sitio-ftp/catalogo/productos.csv");
    ASSERT_TRUE(publicado.open(QIODevice::ReadOnly));
    const QByteArray bytes = publicado.readAll();
    EXPECT_EQ(bytes.count("\r\n"), 3000);
    EXPECT_TRUE(e.salida.contains("Archivo publicado: " + publicado.fileName()));
    EXPECT_TRUE(e.salida.contains("  " + desdeAnsi(bytes.left(bytes.indexOf('\r'))))) << "primeras líneas";

    // A second run reuses the shop as it was left.
    const Ejecucion otra =
        ejecutar({"demo", "--carpeta", carpeta.path()}, {"XDG_CONFIG_HOME=" + usuario.path()});
    EXPECT_EQ(otra.estado, salida::kEnviado) << otra.errores.toStdString();
}

} // namespace
