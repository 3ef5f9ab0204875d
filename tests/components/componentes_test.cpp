// The component registry behind CreaObjeto, the message routines, and Nodex.Utilerias: the
// enciphering of stored secrets and the console message box.

#include "components/Cifrado.h"
#include "components/Registro.h"
#include "config_entorno.h"
#include "modulo/Bitacora.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

using ComponentesTest = EntornoDeConfiguracion;

std::unique_ptr<Utilerias> nueva() {
    return std::unique_ptr<Utilerias>(
        dynamic_cast<Utilerias*>(crearComponente(u"nodex.utilerias"_s).release()));
}

TEST_F(ComponentesTest, creaObjetoAvisaCuandoNoPuedeCrear) {
    std::unique_ptr<DeEquipo> equipo = std::make_unique<DeEquipoNucleo>();
    EXPECT_FALSE(CreaObjeto(equipo, u"Efectos"_s, u"nodex"_s));
    EXPECT_EQ(equipo, nullptr);
    // A ProgID whose component is not of the kind asked for is refused too.
    std::unique_ptr<LibKtfa> ktfa;
    EXPECT_FALSE(CreaObjeto(ktfa, u"DeEquipo"_s, u"Nodex"_s));
    EXPECT_EQ(ktfa, nullptr);
    // Without Utilerias the message routines show the error and answer 0.
    EXPECT_EQ(Mensaje(u"Hola"_s, 0, u"Aviso"_s), 0);
    EXPECT_FALSE(Pregunta(u"¿Seguro?"_s, u"Cerrar"_s, false));

    const QString error91 = u"Error 91, Variable de objeto no establecida"_s;
    EXPECT_EQ(cajasDelSistema,
              std::vector<CajaVista>({{u"Error nº 429, No se puede crear el objeto: la clase no "
                                       u"está registrada\r\nIntentanto crear \"nodex.Efectos\""_s,
                                       16, u"Alerta"_s},
                                      {u"Error nº 13, No coinciden los tipos\r\n"
                                       u"Intentanto crear \"Nodex.DeEquipo\""_s,
                                       16, u"Alerta"_s},
                                      {error91, 16, u"Error"_s},
                                      {error91, 16, u"Error"_s}}));
}

// Messages go through Utilerias' box, owned by the main window; only Yes (6) answers a question.
TEST_F(ComponentesTest, mensajeYPreguntaPasanPorLaCajaDeUtilerias) {
    QObject ventana;
    modulo().frmInicial = &ventana;
    for (const auto& [respuesta, esperado] :
         std::vector<std::pair<quint8, bool>>{{6, true}, {7, false}, {1, false}}) {
        anotarMensajes(respuesta);
        ASSERT_TRUE(CreaObjeto(modulo().oUtilerias, u"Utilerias"_s, u"Nodex"_s));
        EXPECT_EQ(Pregunta(u"¿Seguro?"_s, u"Cerrar"_s, false), esperado) << int(respuesta);
        EXPECT_EQ(Pregunta(u"¿Seguro?"_s, u"Cerrar"_s, true), esperado) << int(respuesta);
    }
    EXPECT_EQ(Mensaje(u"Hola"_s, 64, u"Aviso"_s), 1);
    ASSERT_EQ(mensajes->size(), 7u);
    // Yes/no with the question icon, and No as the default button when asked.
    EXPECT_EQ(mensajes->at(0), (CajaVista{u"¿Seguro?"_s, 36, u"Cerrar"_s, &ventana}));
    EXPECT_EQ(mensajes->at(1).estilo, 292);
    EXPECT_EQ(mensajes->at(6), (CajaVista{u"Hola"_s, 64, u"Aviso"_s, &ventana}));
    EXPECT_TRUE(cajasDelSistema.empty());
}

TEST_F(ComponentesTest, loCifradoEsUnaLineaQueSeDescifra) {
    iniciarBitacora(carpeta.path());
    const auto utilerias = nueva();
    ASSERT_NE(utilerias, nullptr);
    for (const QString& texto :
         {QString(), u"root"_s, u"Contraseña con ñ y €"_s, u"dos\r\nlíneas"_s, u"x"_s.repeated(500)}) {
        const QString cifrado = utilerias->Encripta(texto);
        EXPECT_TRUE(cifrado.startsWith(u"v1:"_s)) << cifrado.toStdString();
        EXPECT_FALSE(cifrado.contains(u'\n') || cifrado.contains(u'\r'));
        EXPECT_FALSE(cifrado.contains(texto) && !texto.isEmpty());
        // Another instance (another process, later) reads it with the same key.
        EXPECT_EQ(nueva()->DesEncripta(cifrado), texto);
    }
    EXPECT_NE(utilerias->Encripta(u"root"_s), utilerias->Encripta(u"root"_s));

    // What cannot be authenticated reads as empty, and the log says so without the secret.
    const QString bueno = utilerias->Encripta(u"Palabras secretas"_s);
    ASSERT_TRUE(bueno.startsWith(u"v1:"_s));
    QString alterado = bueno;
    alterado[alterado.size() / 2] = alterado[alterado.size() / 2] == u'A' ? u'B' : u'A';
    for (const QString& malo : {alterado, bueno.left(bueno.size() - 4), u"v2:"_s + bueno.mid(3),
                                u"ftp.tienda.com"_s, u"v1:no es base64!"_s, u"v1:"_s})
        EXPECT_EQ(utilerias->DesEncripta(malo), QString()) << malo.toStdString();
    const QString bitacora = QString::fromUtf8(leer(ruta(u"catalogo-ftp.log"_s)));
    EXPECT_TRUE(bitacora.contains(u"no se puede autenticar"_s)) << bitacora.toStdString();
    EXPECT_FALSE(bitacora.contains(u"Palabras secretas"_s));
    EXPECT_FALSE(bitacora.contains(u"No se puede escribir"_s)) << "a log that opened says nothing of it";
}

// The key is the user's own: permissions widened by hand are narrowed at the next use, and another
// user has another key.
TEST_F(ComponentesTest, laClaveSoloLaLeeSuDueno) {
    const QString cifrado = nueva()->Encripta(u"ventas"_s);
    const QString clave = cifrado::rutaDeLaClave();
    EXPECT_EQ(QFileInfo(clave).size(), 32);
    const QByteArray antes = leer(clave);
    QFile::setPermissions(clave, QFile::permissions(clave) | QFile::ReadOther | QFile::ReadGroup);
    EXPECT_EQ(nueva()->DesEncripta(cifrado), u"ventas"_s);
    const auto ajenos = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                        QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(clave) & ajenos, QFile::Permissions());
    EXPECT_EQ(QFile::permissions(QFileInfo(clave).absolutePath()) & ajenos, QFile::Permissions());
    EXPECT_EQ(leer(clave), antes);

    QTemporaryDir otroUsuario;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(otroUsuario.path()));
    EXPECT_EQ(nueva()->DesEncripta(cifrado), QString());
}

// Without a window the box prints to the console and answers as if the user declined.
TEST_F(ComponentesTest, laCajaDeConsolaContestaComoUnRechazo) {
    for (const auto& [estilo, respuesta] : std::vector<std::pair<qint32, quint8>>{{64, 1}, {36 + 256, 7}}) {
        QString texto = u"primera\rsegunda"_s, titulo = u"Atención"_s;
        qint32 e = estilo;
        quint8 extra = 0;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(nueva()->MsgBoxSkn(texto, e, titulo, extra), respuesta) << estilo;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Atención: primera\nsegunda\n");
    }
}

} // namespace
