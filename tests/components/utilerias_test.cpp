// Nodex.Utilerias: enciphering of stored secrets, the console message box and the texts table.

#include "components/Cifrado.h"
#include "components/Registro.h"
#include "config_entorno.h"
#include "modulo/Bitacora.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

namespace {

class UtileriasTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        utilerias = nueva();
        ASSERT_NE(utilerias, nullptr);
    }
    static std::unique_ptr<Utilerias> nueva() {
        auto creado = crearComponente(u"nodex.utilerias"_s);
        return std::unique_ptr<Utilerias>(dynamic_cast<Utilerias*>(creado.release()));
    }
    std::unique_ptr<Utilerias> utilerias;
};

TEST_F(UtileriasTest, loCifradoEsUnaLineaQueSeDescifra) {
    const QStringList textos{QString(), u"root"_s, u"Contraseña con ñ y €"_s, u"dos\r\nlíneas"_s,
                             u"x"_s.repeated(500)};
    for (const QString& texto : textos) {
        const QString cifrado = utilerias->Encripta(texto);
        EXPECT_TRUE(cifrado.startsWith(u"v1:"_s)) << cifrado.toStdString();
        EXPECT_FALSE(cifrado.contains(u'\n') || cifrado.contains(u'\r'));
        EXPECT_FALSE(cifrado.contains(texto) && !texto.isEmpty());
        // Another instance (another process, later) reads it with the same key.
        EXPECT_EQ(nueva()->DesEncripta(cifrado), texto);
    }
    EXPECT_NE(utilerias->Encripta(u"root"_s), utilerias->Encripta(u"root"_s));
}

TEST_F(UtileriasTest, laClaveSoloLaLeeSuDueno) {
    utilerias->Encripta(u"x"_s);
    const QString clave = cifrado::rutaDeLaClave();
    ASSERT_TRUE(QFileInfo(clave).absoluteFilePath().startsWith(
        QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).absolutePath()));
    const auto ajenos = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                        QFile::WriteOther | QFile::ExeOther;
    EXPECT_EQ(QFile::permissions(clave) & ajenos, QFile::Permissions());
    EXPECT_EQ(QFile::permissions(QFileInfo(clave).absolutePath()) & ajenos, QFile::Permissions());
    EXPECT_EQ(QFileInfo(clave).size(), 32);

    // Permissions widened by hand are narrowed at the next use, with the same key.
    const QByteArray antes = leer(clave);
    QFile::setPermissions(clave, QFile::permissions(clave) | QFile::ReadOther | QFile::ReadGroup);
    const QString cifrado = utilerias->Encripta(u"y"_s);
    EXPECT_EQ(QFile::permissions(clave) & ajenos, QFile::Permissions());
    EXPECT_EQ(leer(clave), antes);
    EXPECT_EQ(utilerias->DesEncripta(cifrado), u"y"_s);
}

TEST_F(UtileriasTest, loQueNoSePuedeAutenticarDaVacio) {
    iniciarBitacora(carpeta.path());
    const QString bueno = utilerias->Encripta(u"Palabras secretas"_s);
    QString alterado = bueno;
    const qsizetype medio = alterado.size() / 2;
    alterado[medio] = alterado[medio] == u'A' ? u'B' : u'A';

    const QStringList malos{alterado,
                            bueno.left(bueno.size() - 4),
                            u"v2:"_s + bueno.mid(3),
                            u"ftp.tienda.com"_s,
                            u"v1:no es base64!"_s,
                            u"v1:"_s};
    for (const QString& malo : malos)
        EXPECT_EQ(utilerias->DesEncripta(malo), QString()) << malo.toStdString();

    const QString bitacora = QString::fromUtf8(leer(ruta(u"catalogo-ftp.log"_s)));
    EXPECT_TRUE(bitacora.contains(u"no se puede autenticar"_s)) << bitacora.toStdString();
    EXPECT_FALSE(bitacora.contains(u"Palabras secretas"_s));
}

TEST_F(UtileriasTest, loCifradoPorOtroUsuarioDaVacio) {
    const QString cifrado = utilerias->Encripta(u"ventas"_s);
    QTemporaryDir otroUsuario;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(otroUsuario.path()));
    EXPECT_EQ(nueva()->DesEncripta(cifrado), QString());
}

TEST_F(UtileriasTest, laCajaDeConsolaContestaComoUnRechazo) {
    const std::vector<std::pair<qint32, quint8>> casos{{0, 1}, {16, 1}, {64, 1}, {36, 7}, {36 + 256, 7},
                                                       {1, 2}, {2, 3},  {3, 2},  {5, 2}};
    for (const auto& [estilo, respuesta] : casos) {
        QString texto = u"primera\rsegunda"_s;
        QString titulo = u"Atención"_s;
        qint32 e = estilo;
        quint8 extra = 0;
        ::testing::internal::CaptureStderr();
        const quint8 contestado = utilerias->MsgBoxSkn(texto, e, titulo, extra);
        const QString impreso = QString::fromStdString(::testing::internal::GetCapturedStderr());
        EXPECT_EQ(contestado, respuesta) << estilo;
        EXPECT_EQ(impreso, u"Atención: primera\nsegunda\n"_s);
    }
}

TEST_F(UtileriasTest, dameTextoLeeLaTablaDeTextos) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"textos_test"_s);
        db.setDatabaseName(ruta(u"textos.sqlite"_s));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(u"CREATE TABLE textos (Numero INTEGER, Texto TEXT)"_s));
        ASSERT_TRUE(q.exec(u"INSERT INTO textos VALUES (1072, 'Campos del producto'), (382, 'Ñandú')"_s));
    }
    ado::Connection conexion;
    conexion.adoptar(u"textos_test"_s);
    EXPECT_EQ(utilerias->DameTexto(1072, conexion), u"Campos del producto"_s);
    EXPECT_EQ(utilerias->DameTexto(382, conexion), u"Ñandú"_s);
    EXPECT_EQ(utilerias->DameTexto(5, conexion), QString());
    conexion.Close();
    EXPECT_EQ(utilerias->DameTexto(1072, conexion), QString());
}

} // namespace
