// The upload that ends every send, and the failures that must never publish a half-written file.

#include "app/ComandoEnviar.h"
#include "components/BasesDDSql.h"
#include "ftp_travieso.h"
#include "relevo_tcp.h"
#include "tienda_de_prueba.h"

using namespace std::chrono_literals;

namespace {

using Resultado = clsDeProductos::Resultado;

class Publicacion : public ::testing::Test {
protected:
    TiendaDePrueba tienda;
};

// The database stops answering half-way through the second send: it fails within its time-out, neither
// the local nor the remote copy is replaced by the part that was read, and no temporary file is left.
// The third goes elsewhere.
TEST_F(Publicacion, ReemplazaElArchivoDelServidorPeroNuncaConUnoIncompleto) {
    if (!tienda.abrir(Motor::MariaDB, 6000))
        return;
    escribirArchivo(tienda.ftp.carpeta() + "/catalogo.csv", "lo de ayer\r\n");
    // The byte counts are grouped with the separator of the regional settings.
    const QLocale antes;
    QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
    tienda.enviar();

    EXPECT_EQ(tienda.resultado, Resultado::Enviado);
    const QByteArray anterior = tienda.exportado();
    ASSERT_EQ(anterior.count("\r\n"), 6000);
    EXPECT_EQ(tienda.publicado(), anterior);
    QString total = QString::number(anterior.size());
    for (qsizetype i = total.size() - 3; i > 0; i -= 3)
        total.insert(i, '.');
    EXPECT_EQ(tienda.avance.label5.last(),
              QStringLiteral("De 'catalogo.csv': bytes copiados %1 de %1").arg(total));
    EXPECT_TRUE(tienda.avance.label5.first().startsWith("De 'catalogo.csv': bytes copiados 0 de "))
        << "the count is of what the server has";
    EXPECT_EQ(tienda.avance.label3.mid(tienda.avance.label3.size() - 2),
              QStringList({"Enviando archivo...", "Archivo enviando"}));
    EXPECT_FALSE(tienda.avance.label3Visible) << "Label3 solo se ve durante el envío";
    EXPECT_EQ(tienda.avance.pitidos, 0);

    tienda.avance = {};
    auto& bd = dynamic_cast<BasesDDSql&>(*modulo().oBasesDD);
    const int espera = std::exchange(bd.nSegundosDeEspera, 1);
    const qint32 puerto = bd.cPuerto;
    {
        const RelevoTcp relevo(puerto, 64 * 1024); // some 800 of the 6,000 products
        bd.cPuerto = relevo.puerto();
        tienda.enviar();
    }
    bd.cPuerto = puerto;
    bd.nSegundosDeEspera = espera;

    EXPECT_EQ(tienda.resultado, Resultado::SinBaseDeDatos) << "the database failed, not the file";
    EXPECT_EQ(tienda.avance.pitidos, 1);
    EXPECT_EQ(tienda.exportado(), anterior);
    EXPECT_EQ(tienda.publicado(), anterior);
    EXPECT_EQ(QDir(tienda.ruta(".")).entryList({"catalogo.csv*"}, QDir::Files | QDir::Hidden).size(), 1);

    // The file is made in the program folder whatever folder its setting names, and uploaded to the
    // configured directory, whose "/" at the end is added when read.
    escribirArchivo(tienda.ftp.carpeta() + "/tienda/web/.keep", "");
    tienda.grabar([](CajasDeConfiguracion& cajas) {
        cajas[6] = "/tienda/web";
        cajas[2] = "C:\\datos\\lista.txt";
    });
    tienda.avance = {};
    tienda.enviar();
    EXPECT_EQ(tienda.resultado, Resultado::Enviado);
    EXPECT_EQ(leerArchivo(tienda.ruta("lista.txt")), anterior);
    EXPECT_EQ(tienda.publicado("tienda/web/lista.txt"), anterior);

    // A refused login beeps and keeps the new file at home; a database that does not open stops the send
    // before anything is written or shown.
    tienda.grabar([](CajasDeConfiguracion& cajas) { cajas[5] = "no-es-la-clave"; });
    tienda.avance = {};
    QFile::remove(tienda.ruta("lista.txt"));
    tienda.enviar();
    EXPECT_EQ(tienda.resultado, Resultado::SinConexionFtp);
    EXPECT_EQ(tienda.avance.pitidos, 1);
    EXPECT_EQ(leerArchivo(tienda.ruta("lista.txt")), anterior);
    tienda.avance = {};
    QFile::remove(tienda.ruta("lista.txt"));
    modulo().oBasesDD->cMiBase = "no_existe_esta_base";
    tienda.enviar();
    EXPECT_EQ(tienda.resultado, Resultado::SinBaseDeDatos);
    EXPECT_FALSE(QFile::exists(tienda.ruta("lista.txt")));
    EXPECT_TRUE(tienda.avance.label3.isEmpty());
    EXPECT_EQ(tienda.avance.pitidos, 0);
    QLocale::setDefault(antes);
}

// A send that does not leave the new file whole on the server is a failed send, told in the server's
// words, that leaves the published file as it was; a server that cannot rename still gets the file.
// (Every way a server fails is checked with the FTP layer.)
TEST_F(Publicacion, ElEstadoYElTextoDicenComoTerminoLaSubida) {
    if (!tienda.abrir(Motor::MariaDB, 5))
        return;
    wininet::setLimits({5s, 1s, 1s});
    const struct {
        const char* capricho;
        int estado;
        const char* ultimaLinea;
        const char* enElRegistro;
    } envios[] = {{"552", salida::kSubidaFallida, "No se envió: 552 Disk quota exceeded.",
                   "no se publicó: 552 Disk quota exceeded."},
                  {"rnto-muda", salida::kSubidaFallida,
                   "No se envió: RenameFTPFile error code: 12002 Message: Se agotó el tiempo de espera de la "
                   "operación.",
                   "no se publicó: RenameFTPFile error code: 12002"},
                  {"sin-renombrar", salida::kHecho, "Enviado: /catalogo.csv\nPrimera publicación",
                   "se subió directamente a '/catalogo.csv'"}};
    for (const auto& e : envios) {
        SCOPED_TRACE(e.capricho);
        ServidorFtpTravieso travieso(QString::fromLatin1(e.capricho));
        REQUERIR_SERVIDOR(travieso.listo(), travieso.motivo().toStdString());
        escribirArchivo(travieso.carpeta() + "/catalogo.csv", "lo de ayer\r\n");
        tienda.grabar([&](CajasDeConfiguracion& cajas) { cajas[4] = travieso.direccion(); });
        QString texto;
        QTextStream salida(&texto);

        EXPECT_EQ(EnviarUnaVez(salida), e.estado);

        EXPECT_TRUE(texto.endsWith(QString::fromUtf8(e.ultimaLinea) + "\n")) << texto.toStdString();
        EXPECT_TRUE(leerArchivo(tienda.ruta("catalogo-ftp.log")).contains(e.enElRegistro));
        EXPECT_EQ(leerArchivo(travieso.carpeta() + "/catalogo.csv"),
                  e.estado == salida::kHecho ? tienda.exportado() : "lo de ayer\r\n");
    }
    wininet::setLimits({});
}

// A query that fails is the database's failure (status 3), whatever stage it came at, not the file's:
// the shop looks at the point of sale, not at the disk. Nothing is written or uploaded.
TEST_F(Publicacion, UnaConsultaQueFallaEsCosaDeLaBase) {
    if (!tienda.abrir(Motor::MariaDB, 5))
        return;
    auto& bd = dynamic_cast<BasesDDSql&>(*modulo().oBasesDD);
    const int espera = std::exchange(bd.nSegundosDeEspera, 1);
    const struct {
        const char* nombre;
        const char* antes;
        const char* motivo;
    } casos[] = {// Held by another session past our limit to wait for the server.
                 {"TablaBloqueada", "LOCK TABLES productos WRITE", "Lost connection"},
                 {"SinTablaProductos", "DROP TABLE productos", "doesn't exist"}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nombre);
        escribirArchivo(tienda.ruta("catalogo.csv"), "lo de ayer\r\n");
        tienda.base.ejecutar(QString::fromLatin1(caso.antes));
        QString texto;
        QTextStream salida(&texto);

        EXPECT_EQ(EnviarUnaVez(salida), salida::kSinBaseDeDatos) << texto.toStdString();

        tienda.base.ejecutar("UNLOCK TABLES");
        EXPECT_TRUE(
            texto.contains("No se envió: no se pudo leer la base de datos '" + tienda.base.nombre() + "': "))
            << texto.toStdString();
        EXPECT_TRUE(texto.contains(QString::fromLatin1(caso.motivo))) << texto.toStdString();
        EXPECT_EQ(tienda.exportado(), "lo de ayer\r\n");
        EXPECT_FALSE(QFile::exists(tienda.ftp.carpeta() + "/catalogo.csv"));
    }
    bd.nSegundosDeEspera = espera;
}

} // namespace
