// The upload that ends every send, and the failures that must never publish a half-written file.

#include "entorno.h"
#include "export/ComandoEnviar.h"
#include "export/clsDeProductos.h"
#include "ftp_travieso.h"
#include "modulo/Modulo.h"
#include "tienda_de_prueba.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>

namespace {

using Resultado = clsDeProductos::Resultado;

class Publicacion : public ::testing::Test {
protected:
    void preparar(qint32 productos) {
        const bool listo = tienda.preparar(Motor::MariaDB, productos);
        REQUERIR_SERVIDOR(listo, tienda.motivo().toStdString());
    }
    // On the shop's server, or on the server whose folder is `carpeta`.
    void ponerEnElServidor(const QString& remoto, const QByteArray& bytes, QString carpeta = QString()) {
        carpeta = carpeta.isEmpty() ? tienda.ftp.carpeta() : carpeta;
        QDir().mkpath(QFileInfo(carpeta + "/" + remoto).absolutePath());
        QFile archivo(carpeta + "/" + remoto);
        ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
        archivo.write(bytes);
    }
    TiendaDePrueba tienda;
};

TEST_F(Publicacion, ReemplazaElArchivoDelServidorYMuestraLosBytesCopiados) {
    preparar(2000);
    if (IsSkipped() || HasFailure())
        return;
    ponerEnElServidor("catalogo.csv", "lo de ayer\r\n");

    tienda.enviar();

    EXPECT_EQ(tienda.resultado, static_cast<int>(Resultado::Enviado));
    const QByteArray local = tienda.exportado();
    EXPECT_EQ(local.count("\r\n"), 2000);
    EXPECT_EQ(tienda.publicado(), local);
    QString total = QString::number(local.size());
    for (qsizetype i = total.size() - 3; i > 0; i -= 3)
        total.insert(i, ',');
    EXPECT_EQ(tienda.avance.label5.last(),
              QStringLiteral("De 'catalogo.csv': bytes copiados %1 de %1").arg(total));
    EXPECT_TRUE(tienda.avance.label5.first().startsWith("De 'catalogo.csv': bytes copiados 255 de "));
    EXPECT_EQ(tienda.avance.label3.mid(tienda.avance.label3.size() - 2),
              QStringList({"Enviando archivo...", "Archivo enviando"}));
    EXPECT_FALSE(tienda.avance.label3Visible) << "Label3 solo se ve durante el envío";
    EXPECT_EQ(tienda.avance.pitidos, 0);
}

TEST_F(Publicacion, ElDirectorioConfiguradoEsLaCarpetaDelServidor) {
    preparar(3);
    if (IsSkipped() || HasFailure())
        return;
    ponerEnElServidor("tienda/web/.keep", "");
    tienda.grabar([](CajasDeConfiguracion& cajas) {
        cajas[6] = "/tienda/web"; // the "/" at the end is added when read
        cajas[2] = "C:\\datos\\lista.txt";
    });

    tienda.enviar();

    EXPECT_EQ(tienda.resultado, static_cast<int>(Resultado::Enviado));
    EXPECT_EQ(tienda.publicado("tienda/web/lista.txt"), tienda.exportado());
    EXPECT_TRUE(QFile::exists(tienda.ruta("lista.txt"))) << "el archivo se crea en la carpeta del programa";
}

TEST_F(Publicacion, UnAccesoRechazadoSoloPitaYDejaElArchivoLocal) {
    preparar(5);
    if (IsSkipped() || HasFailure())
        return;
    tienda.grabar([](CajasDeConfiguracion& cajas) { cajas[5] = "no-es-la-clave"; });

    tienda.enviar();

    EXPECT_EQ(tienda.resultado, static_cast<int>(Resultado::SinConexionFtp));
    EXPECT_EQ(tienda.avance.pitidos, 1);
    EXPECT_EQ(tienda.exportado().count("\r\n"), 5);
    EXPECT_FALSE(QFile::exists(tienda.ftp.carpeta() + "/catalogo.csv"));
}

TEST_F(Publicacion, SinBaseDeDatosNoSeEscribeNiSePublicaNada) {
    preparar(5);
    if (IsSkipped() || HasFailure())
        return;
    modulo().oBasesDD->cMiBase = "no_existe_esta_base";

    tienda.enviar();

    EXPECT_EQ(tienda.resultado, static_cast<int>(Resultado::SinBaseDeDatos));
    EXPECT_FALSE(QFile::exists(tienda.ruta("catalogo.csv")));
    EXPECT_TRUE(tienda.avance.label3.isEmpty());
    EXPECT_FALSE(QFile::exists(tienda.ftp.carpeta() + "/catalogo.csv"));
}

// A send that does not leave the new file whole on the server is a failed send, told in the server's
// words, and the web shop keeps the catalogue it had; a server that cannot rename still gets it.
struct Envio {
    const char* capricho;
    int estado;
    const char* ultimaLinea;
    const char* enElRegistro;
};

class EnvioA : public Publicacion, public ::testing::WithParamInterface<Envio> {};

TEST_P(EnvioA, ElEstadoYElTextoDicenComoTermino) {
    const Envio e = GetParam();
    ServidorFtpTravieso travieso(QString::fromLatin1(e.capricho));
    REQUERIR_SERVIDOR(travieso.listo(), travieso.motivo().toStdString());
    preparar(5);
    if (IsSkipped() || HasFailure())
        return;
    tienda.grabar([&](CajasDeConfiguracion& cajas) { cajas[4] = travieso.direccion(); });
    ponerEnElServidor("catalogo.csv", "lo de ayer\r\n", travieso.carpeta());
    QFile anterior(travieso.carpeta() + "/catalogo.csv");
    QString texto;
    QTextStream salida(&texto);

    EXPECT_EQ(EnviarUnaVez(salida), e.estado);

    EXPECT_TRUE(texto.endsWith(QString::fromUtf8(e.ultimaLinea) + "\n")) << texto.toStdString();
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    EXPECT_EQ(anterior.readAll(), e.estado == salida::kEnviado ? tienda.exportado() : "lo de ayer\r\n");
    QFile registro(tienda.ruta("catalogo-ftp.log"));
    ASSERT_TRUE(registro.open(QIODevice::ReadOnly));
    EXPECT_TRUE(registro.readAll().contains(e.enElRegistro));
}

INSTANTIATE_TEST_SUITE_P(
    Servidores, EnvioA,
    ::testing::Values(Envio{"552", salida::kSubidaFallida, "No se envió: 552 Disk quota exceeded.",
                            "no se publicó: 552 Disk quota exceeded."},
                      Envio{"sin-renombrar", salida::kEnviado, "Enviado: /catalogo.csv",
                            "se subió directamente a '/catalogo.csv'"}),
    [](const auto& info) { return std::string(info.param.estado ? "Fallida" : "SinRenombrar"); });

// The database connection dies half-way: the previous export file stays, and neither the local nor
// the remote copy is replaced by the part that was read.
TEST_F(Publicacion, SiLaBaseSeCaeAMitadNoSePublicaUnArchivoIncompleto) {
    preparar(6000);
    if (IsSkipped() || HasFailure())
        return;
    tienda.enviar();
    const QByteArray anterior = tienda.exportado();
    ASSERT_EQ(anterior.count("\r\n"), 6000);

    tienda.avance = {};
    tienda.avance.alProcesar = [&](int evento) {
        if (evento != 2) // the first product is shown: the first block is read, the second is not
            return;
        QSqlQuery matar(tienda.base.db());
        ASSERT_TRUE(matar.exec("SELECT ID FROM information_schema.PROCESSLIST WHERE DB = '" +
                               tienda.base.nombre() + "' AND ID <> CONNECTION_ID()"));
        QList<qint64> ids;
        while (matar.next())
            ids << matar.value(0).toLongLong();
        ASSERT_FALSE(ids.isEmpty());
        for (qint64 id : ids)
            EXPECT_TRUE(QSqlQuery(tienda.base.db()).exec(QStringLiteral("KILL %1").arg(id)));
    };
    tienda.enviar();

    EXPECT_EQ(tienda.resultado, static_cast<int>(Resultado::ArchivoIncompleto));
    EXPECT_EQ(tienda.avance.pitidos, 1);
    EXPECT_EQ(tienda.exportado(), anterior);
    EXPECT_EQ(tienda.publicado(), anterior);
    EXPECT_TRUE(QDir(tienda.ruta(".")).entryList({"catalogo.csv*"}, QDir::Files | QDir::Hidden).size() == 1)
        << "no quedan temporales";
}

// A full disk: the program folder on a small file system of its own.
TEST(PublicacionConDiscoLleno, ElArchivoAnteriorQuedaIntacto) {
    QTemporaryDir montaje;
    const bool montado =
        QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=200k", "tmpfs", montaje.path()}) == 0;
    REQUERIR_SERVIDOR(montado, "montar un tmpfs (hace falta ser root)");
    {
        TiendaDePrueba tienda(montaje.path());
        const bool listo = tienda.preparar(Motor::SQLite, 5000);
        if (listo) {
            tienda.productosAExportar({{"P000001", ""}, {"P000002", ""}});
            tienda.enviar();
            const QByteArray anterior = tienda.exportado();
            ASSERT_EQ(anterior.count("\r\n"), 2);
            QFile::remove(modulo().cArchivoProductos);

            tienda.enviar();

            EXPECT_EQ(tienda.resultado, static_cast<int>(Resultado::ArchivoIncompleto));
            EXPECT_EQ(tienda.exportado(), anterior);
            EXPECT_EQ(tienda.publicado(), anterior);
        }
    }
    // Lazily: the log file of the program folder may still be open.
    QProcess::execute("umount", {"-l", montaje.path()});
}

} // namespace
