// The component registry behind CreaObjeto, the message routines, the "-ktfa" switch, and the file,
// point-of-sale registry components.

#include "components/Registro.h"
#include "config_entorno.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QDir>
#include <QFile>
#include <QObject>

namespace {

using ComponentesTest = EntornoDeConfiguracion;

TEST_F(ComponentesTest, losProgIdsNoDistinguenMayusculas) {
    for (const char* progId : {"Nodex.libKtfa", "nodex.LibKtfa", "NODEX.DELREGISTRO", "nodex.utilerias",
                               "Nodex.DeArchivos", "nodex.deequipo"})
        EXPECT_NE(crearComponente(QString::fromLatin1(progId)), nullptr) << progId;
}

TEST_F(ComponentesTest, creaObjetoAvisaCuandoNoPuedeCrear) {
    std::unique_ptr<DeEquipo> equipo = std::make_unique<DeEquipoNucleo>();
    EXPECT_FALSE(CreaObjeto(equipo, QStringLiteral("Efectos"), QStringLiteral("nodex")));
    EXPECT_EQ(equipo, nullptr);
    ASSERT_EQ(cajasDelSistema.size(), 1u);
    EXPECT_EQ(cajasDelSistema[0].texto,
              QStringLiteral("Error nº 429, No se puede crear el objeto: la clase no está "
                             "registrada\r\nIntentanto crear \"nodex.Efectos\""));
    EXPECT_EQ(cajasDelSistema[0].estilo, 16);
    EXPECT_EQ(cajasDelSistema[0].titulo, QStringLiteral("Alerta"));

    // A ProgID whose component is not of the kind asked for is refused too.
    std::unique_ptr<LibKtfa> ktfa;
    EXPECT_FALSE(CreaObjeto(ktfa, QStringLiteral("DeEquipo"), QStringLiteral("Nodex")));
    EXPECT_EQ(ktfa, nullptr);
    ASSERT_EQ(cajasDelSistema.size(), 2u);
    EXPECT_EQ(cajasDelSistema[1].texto,
              QStringLiteral("Error nº 13, No coinciden los tipos\r\nIntentanto crear \"Nodex.DeEquipo\""));
}

TEST_F(ComponentesTest, mensajePasaPorLaCajaDeUtilerias) {
    anotarMensajes(estilo::vbOK);
    QObject ventana;
    modulo().frmInicial = &ventana;
    ASSERT_TRUE(CreaObjeto(modulo().oUtilerias, QStringLiteral("Utilerias"), QStringLiteral("Nodex")));
    EXPECT_EQ(Mensaje(QStringLiteral("Hola"), 64, QStringLiteral("Aviso")), estilo::vbOK);
    ASSERT_EQ(mensajes->size(), 1u);
    EXPECT_EQ(mensajes->at(0).texto, QStringLiteral("Hola"));
    EXPECT_EQ(mensajes->at(0).estilo, 64);
    EXPECT_EQ(mensajes->at(0).titulo, QStringLiteral("Aviso"));
    EXPECT_EQ(mensajes->at(0).duena, &ventana);
    EXPECT_TRUE(cajasDelSistema.empty());
}

TEST_F(ComponentesTest, preguntaSoloEsSiConSeis) {
    const std::vector<std::pair<quint8, bool>> respuestas{{6, true}, {7, false}, {1, false}, {0, false}};
    for (const auto& [respuesta, esperado] : respuestas) {
        anotarMensajes(respuesta);
        ASSERT_TRUE(CreaObjeto(modulo().oUtilerias, QStringLiteral("Utilerias"), QStringLiteral("Nodex")));
        EXPECT_EQ(Pregunta(QStringLiteral("¿Seguro?"), QStringLiteral("Cerrar"), false), esperado)
            << int(respuesta);
        EXPECT_EQ(Pregunta(QStringLiteral("¿Seguro?"), QStringLiteral("Cerrar"), true), esperado)
            << int(respuesta);
    }
    ASSERT_EQ(mensajes->size(), 8u);
    EXPECT_EQ(mensajes->at(0).estilo, 36);  // yes/no with the question icon
    EXPECT_EQ(mensajes->at(1).estilo, 292); // and No as the default button
}

TEST_F(ComponentesTest, sinUtileriasMensajeMuestraElErrorYContestaCero) {
    EXPECT_EQ(Mensaje(QStringLiteral("Hola"), 0, QStringLiteral("Aviso")), 0);
    EXPECT_FALSE(Pregunta(QStringLiteral("¿Seguro?"), QStringLiteral("Cerrar"), false));
    ASSERT_EQ(cajasDelSistema.size(), 2u);
    EXPECT_EQ(cajasDelSistema[0].texto, QStringLiteral("Error 91, Variable de objeto no establecida"));
    EXPECT_EQ(cajasDelSistema[0].estilo, 16);
    EXPECT_EQ(cajasDelSistema[0].titulo, QStringLiteral("Error"));
}

TEST_F(ComponentesTest, laCajaDelSistemaDeConsolaContestaNo) {
    ponerCajaDelSistema({});
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MsgBoxDelSistema(QStringLiteral("¿Borrar?"), 36, QStringLiteral("Pregunta")), estilo::vbNo);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Pregunta: ¿Borrar?\n");
}

TEST(HayParametroKtfa, esUnaSubcadenaConMayusculasExactas) {
    const std::vector<std::pair<QStringList, bool>> casos{
        {{QStringLiteral("-ktfa")}, true},
        {{QStringLiteral("--carpeta"), QStringLiteral("/tmp"), QStringLiteral("-ktfa")}, true},
        {{QStringLiteral("x-ktfax")}, true},
        {{QStringLiteral("-KTFA")}, false},
        {{QStringLiteral("-kt"), QStringLiteral("fa")}, false},
        {{}, false}};
    for (const auto& [argumentos, esperado] : casos)
        EXPECT_EQ(HayParametroKtfa(argumentos), esperado) << argumentos.join(QLatin1Char(' ')).toStdString();
}

TEST_F(ComponentesTest, nombreDeArchivoConAmbasBarras) {
    DeArchivosNucleo archivos;
    const std::vector<std::pair<QString, QString>> casos{
        {QStringLiteral("C:\\datos\\lista.txt"), QStringLiteral("lista.txt")},
        {QStringLiteral("/srv/tienda/lista.csv"), QStringLiteral("lista.csv")},
        {QStringLiteral("C:\\datos/mixto\\x.txt"), QStringLiteral("x.txt")},
        {QStringLiteral("lista.txt"), QStringLiteral("lista.txt")},
        {QStringLiteral("carpeta/"), QString()}};
    for (auto [ruta, nombre] : casos)
        EXPECT_EQ(archivos.NombreDeArchivo(ruta), nombre) << ruta.toStdString();
}

TEST_F(ComponentesTest, hayArchivoYBorraArchivo) {
    DeArchivosNucleo archivos;
    QString archivo = ruta(QStringLiteral("lista.dat"));
    QString carpetaSola = carpeta.path();
    escribir(archivo, "x");
    EXPECT_TRUE(archivos.HayArchivo(archivo));
    EXPECT_FALSE(archivos.HayArchivo(carpetaSola));
    archivos.BorraArchivo(archivo);
    EXPECT_FALSE(QFile::exists(archivo));
    EXPECT_FALSE(archivos.HayArchivo(archivo));
    archivos.BorraArchivo(archivo); // already gone: nothing happens
}

TEST_F(ComponentesTest, delRegistroUsaElQ7KDeLaCarpeta) {
    DelRegistroNucleo registro;
    QString vacia;
    QString sinQ7K = carpeta.path();
    EXPECT_EQ(registro.BuscarRegistroQ7K(vacia), QString());
    EXPECT_EQ(registro.BuscarRegistroQ7K(sinQ7K), QString());
    // Nothing found yet: nothing is read or written anywhere.
    registro.GuardaDatosQ7K(QStringLiteral("MySQLPuerto"), QStringLiteral("3306"));
    EXPECT_EQ(registro.DatosQ7K(QStringLiteral("MySQLPuerto")), QString());
    EXPECT_FALSE(QFile::exists(ruta(QStringLiteral("Q7K.ini"))));

    escribir(ruta(QStringLiteral("Q7K.ini")), "[q7k]\r\nservidor=caja1\r\n");
    QString conBarra = carpeta.path() + QLatin1Char('/');
    EXPECT_EQ(registro.BuscarRegistroQ7K(conBarra), conBarra);
    EXPECT_EQ(registro.DatosQ7K(QStringLiteral("Servidor")), QStringLiteral("caja1"));
    registro.GuardaDatosQ7K(QStringLiteral("MySQLPuerto"), QStringLiteral("3307"));
    EXPECT_EQ(leer(ruta(QStringLiteral("Q7K.ini"))),
              QByteArray("[q7k]\r\nservidor=caja1\r\nMySQLPuerto=3307\r\n"));
}

} // namespace
