// The component registry behind CreaObjeto, the message routines, the "-ktfa" switch, and the file,
// point-of-sale registry components.

#include "components/Registro.h"
#include "config_entorno.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QFile>
#include <QObject>

using namespace Qt::StringLiterals;

namespace {

using ComponentesTest = EntornoDeConfiguracion;

TEST_F(ComponentesTest, creaObjetoAvisaCuandoNoPuedeCrear) {
    std::unique_ptr<DeEquipo> equipo = std::make_unique<DeEquipoNucleo>();
    EXPECT_FALSE(CreaObjeto(equipo, u"Efectos"_s, u"nodex"_s));
    EXPECT_EQ(equipo, nullptr);
    ASSERT_EQ(cajasDelSistema.size(), 1u);
    EXPECT_EQ(cajasDelSistema[0].texto,
              QStringLiteral("Error nº 429, No se puede crear el objeto: la clase no está "
                             "registrada\r\nIntentanto crear \"nodex.Efectos\""));
    EXPECT_EQ(cajasDelSistema[0].estilo, 16);
    EXPECT_EQ(cajasDelSistema[0].titulo, u"Alerta"_s);

    // A ProgID whose component is not of the kind asked for is refused too.
    std::unique_ptr<LibKtfa> ktfa;
    EXPECT_FALSE(CreaObjeto(ktfa, u"DeEquipo"_s, u"Nodex"_s));
    EXPECT_EQ(ktfa, nullptr);
    ASSERT_EQ(cajasDelSistema.size(), 2u);
    EXPECT_EQ(cajasDelSistema[1].texto,
              u"Error nº 13, No coinciden los tipos\r\nIntentanto crear \"Nodex.DeEquipo\""_s);
}

TEST_F(ComponentesTest, mensajePasaPorLaCajaDeUtilerias) {
    anotarMensajes(estilo::vbOK);
    QObject ventana;
    modulo().frmInicial = &ventana;
    ASSERT_TRUE(CreaObjeto(modulo().oUtilerias, u"Utilerias"_s, u"Nodex"_s));
    EXPECT_EQ(Mensaje(u"Hola"_s, 64, u"Aviso"_s), estilo::vbOK);
    ASSERT_EQ(mensajes->size(), 1u);
    EXPECT_EQ(mensajes->at(0).texto, u"Hola"_s);
    EXPECT_EQ(mensajes->at(0).estilo, 64);
    EXPECT_EQ(mensajes->at(0).titulo, u"Aviso"_s);
    EXPECT_EQ(mensajes->at(0).duena, &ventana);
    EXPECT_TRUE(cajasDelSistema.empty());
}

TEST_F(ComponentesTest, preguntaSoloEsSiConSeis) {
    const std::vector<std::pair<quint8, bool>> respuestas{{6, true}, {7, false}, {1, false}, {0, false}};
    for (const auto& [respuesta, esperado] : respuestas) {
        anotarMensajes(respuesta);
        ASSERT_TRUE(CreaObjeto(modulo().oUtilerias, u"Utilerias"_s, u"Nodex"_s));
        EXPECT_EQ(Pregunta(u"¿Seguro?"_s, u"Cerrar"_s, false), esperado) << int(respuesta);
        EXPECT_EQ(Pregunta(u"¿Seguro?"_s, u"Cerrar"_s, true), esperado) << int(respuesta);
    }
    ASSERT_EQ(mensajes->size(), 8u);
    EXPECT_EQ(mensajes->at(0).estilo, 36);  // yes/no with the question icon
    EXPECT_EQ(mensajes->at(1).estilo, 292); // and No as the default button
}

TEST_F(ComponentesTest, sinUtileriasMensajeMuestraElErrorYContestaCero) {
    EXPECT_EQ(Mensaje(u"Hola"_s, 0, u"Aviso"_s), 0);
    EXPECT_FALSE(Pregunta(u"¿Seguro?"_s, u"Cerrar"_s, false));
    ASSERT_EQ(cajasDelSistema.size(), 2u);
    EXPECT_EQ(cajasDelSistema[0].texto, u"Error 91, Variable de objeto no establecida"_s);
    EXPECT_EQ(cajasDelSistema[0].estilo, 16);
    EXPECT_EQ(cajasDelSistema[0].titulo, u"Error"_s);
}

TEST(HayParametroKtfa, esUnaSubcadenaConMayusculasExactas) {
    const std::vector<std::pair<QStringList, bool>> casos{
        {{u"-ktfa"_s}, true},         {{u"--carpeta"_s, u"/tmp"_s, u"-ktfa"_s}, true},
        {{u"x-ktfax"_s}, true},       {{u"-KTFA"_s}, false},
        {{u"-kt"_s, u"fa"_s}, false}, {{}, false}};
    for (const auto& [argumentos, esperado] : casos)
        EXPECT_EQ(HayParametroKtfa(argumentos), esperado) << argumentos.join(u' ').toStdString();
}

TEST_F(ComponentesTest, nombreDeArchivoConAmbasBarras) {
    DeArchivosNucleo archivos;
    const std::vector<std::pair<QString, QString>> casos{{u"C:\\datos\\lista.txt"_s, u"lista.txt"_s},
                                                         {u"/srv/tienda/lista.csv"_s, u"lista.csv"_s},
                                                         {u"C:\\datos/mixto\\x.txt"_s, u"x.txt"_s},
                                                         {u"lista.txt"_s, u"lista.txt"_s},
                                                         {u"carpeta/"_s, QString()}};
    for (auto [ruta, nombre] : casos)
        EXPECT_EQ(archivos.NombreDeArchivo(ruta), nombre) << ruta.toStdString();
}

TEST_F(ComponentesTest, delRegistroUsaElQ7KDeLaCarpeta) {
    DelRegistroNucleo registro;
    QString vacia;
    QString sinQ7K = carpeta.path();
    EXPECT_EQ(registro.BuscarRegistroQ7K(vacia), QString());
    EXPECT_EQ(registro.BuscarRegistroQ7K(sinQ7K), QString());
    // Nothing found yet: nothing is read or written anywhere.
    registro.GuardaDatosQ7K(u"MySQLPuerto"_s, u"3306"_s);
    EXPECT_EQ(registro.DatosQ7K(u"MySQLPuerto"_s), QString());
    EXPECT_FALSE(QFile::exists(ruta(u"Q7K.ini"_s)));

    escribir(ruta(u"Q7K.ini"_s), "[q7k]\r\nservidor=caja1\r\n");
    QString conBarra = carpeta.path() + u'/';
    EXPECT_EQ(registro.BuscarRegistroQ7K(conBarra), conBarra);
    EXPECT_EQ(registro.DatosQ7K(u"Servidor"_s), u"caja1"_s);
    registro.GuardaDatosQ7K(u"MySQLPuerto"_s, u"3307"_s);
    EXPECT_EQ(leer(ruta(u"Q7K.ini"_s)), QByteArray("[q7k]\r\nservidor=caja1\r\nMySQLPuerto=3307\r\n"));
}

} // namespace
