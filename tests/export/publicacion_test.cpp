// The upload that ends every send, and the failures that must never publish a half-written file.

#include "export/ComandoEnviar.h"
#include "ftp_travieso.h"
#include "tienda_de_prueba.h"

#include <QSqlQuery>

namespace {

using Resultado = clsDeProductos::Resultado;

class Publicacion : public ::testing::Test {
protected:
    TiendaDePrueba tienda;
};

// The database connection dies half-way through the second send: neither the local nor the remote
// copy is replaced by the part that was read, and no temporary file is left behind. The third goes
// elsewhere.
TEST_F(Publicacion, ReemplazaElArchivoDelServidorPeroNuncaConUnoIncompleto) {
    tienda.abrir(Motor::MariaDB, 6000);
    if (IsSkipped() || HasFailure())
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
    tienda.avance.alProcesar = [&](int evento) {
        if (evento != 2) // the first product is shown: the first block is read, the second is not
            return;
        QSqlQuery matar(tienda.base.db());
        ASSERT_TRUE(matar.exec("SELECT ID FROM information_schema.PROCESSLIST WHERE DB = '" +
                               tienda.base.nombre() + "' AND ID <> CONNECTION_ID()"));
        int muertas = 0;
        while (matar.next())
            muertas += QSqlQuery(tienda.base.db()).exec("KILL " + matar.value(0).toString());
        EXPECT_GT(muertas, 0);
    };
    tienda.enviar();

    EXPECT_EQ(tienda.resultado, Resultado::ArchivoIncompleto);
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
// words; a server that cannot rename still gets the file. (What the server then holds is checked with
// the FTP layer.)
TEST_F(Publicacion, ElEstadoYElTextoDicenComoTerminoLaSubida) {
    tienda.abrir(Motor::MariaDB, 5);
    if (IsSkipped() || HasFailure())
        return;
    const struct {
        const char* capricho;
        int estado;
        const char* ultimaLinea;
        const char* enElRegistro;
    } envios[] = {{"552", salida::kSubidaFallida, "No se envió: 552 Disk quota exceeded.",
                   "no se publicó: 552 Disk quota exceeded."},
                  {"sin-renombrar", salida::kEnviado, "Enviado: /catalogo.csv",
                   "se subió directamente a '/catalogo.csv'"}};
    for (const auto& e : envios) {
        SCOPED_TRACE(e.capricho);
        ServidorFtpTravieso travieso(QString::fromLatin1(e.capricho));
        REQUERIR_SERVIDOR(travieso.listo(), travieso.motivo().toStdString());
        tienda.grabar([&](CajasDeConfiguracion& cajas) { cajas[4] = travieso.direccion(); });
        QString texto;
        QTextStream salida(&texto);

        EXPECT_EQ(EnviarUnaVez(salida), e.estado);

        EXPECT_TRUE(texto.endsWith(QString::fromUtf8(e.ultimaLinea) + "\n")) << texto.toStdString();
        EXPECT_TRUE(leerArchivo(tienda.ruta("catalogo-ftp.log")).contains(e.enElRegistro));
    }
}

} // namespace
