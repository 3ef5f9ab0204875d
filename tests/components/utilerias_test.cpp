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

namespace {

class UtileriasTest : public EntornoDeConfiguracion {
protected:
    void SetUp() override {
        EntornoDeConfiguracion::SetUp();
        utilerias = nueva();
        ASSERT_NE(utilerias, nullptr);
    }
    static std::unique_ptr<Utilerias> nueva() {
        auto creado = crearComponente(QStringLiteral("nodex.utilerias"));
        return std::unique_ptr<Utilerias>(dynamic_cast<Utilerias*>(creado.release()));
    }
    std::unique_ptr<Utilerias> utilerias;
};

TEST_F(UtileriasTest, loCifradoEsUnaLineaQueSeDescifra) {
    const QStringList textos{QString(), QStringLiteral("root"), QStringLiteral("Contraseña con ñ y €"),
                             QStringLiteral("dos\r\nlíneas"), QStringLiteral("x").repeated(500)};
    for (const QString& texto : textos) {
        const QString cifrado = utilerias->Encripta(texto);
        EXPECT_TRUE(cifrado.startsWith(QLatin1String("v1:"))) << cifrado.toStdString();
        EXPECT_FALSE(cifrado.contains(QLatin1Char('\n')) || cifrado.contains(QLatin1Char('\r')));
        EXPECT_FALSE(cifrado.contains(texto) && !texto.isEmpty());
        // Another instance (another process, later) reads it with the same key.
        EXPECT_EQ(nueva()->DesEncripta(cifrado), texto);
    }
    EXPECT_NE(utilerias->Encripta(QStringLiteral("root")), utilerias->Encripta(QStringLiteral("root")));
}

TEST_F(UtileriasTest, laClaveSoloLaLeeSuDueno) {
    utilerias->Encripta(QStringLiteral("x"));
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
    const QString cifrado = utilerias->Encripta(QStringLiteral("y"));
    EXPECT_EQ(QFile::permissions(clave) & ajenos, QFile::Permissions());
    EXPECT_EQ(leer(clave), antes);
    EXPECT_EQ(utilerias->DesEncripta(cifrado), QStringLiteral("y"));
}

TEST_F(UtileriasTest, loQueNoSePuedeAutenticarDaVacio) {
    iniciarBitacora(carpeta.path());
    const QString bueno = utilerias->Encripta(QStringLiteral("Palabras secretas"));
    QString alterado = bueno;
    const qsizetype medio = alterado.size() / 2;
    alterado[medio] = alterado[medio] == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');

    const QStringList malos{alterado,
                            bueno.left(bueno.size() - 4),
                            QStringLiteral("v2:") + bueno.mid(3),
                            QStringLiteral("ftp.tienda.com"),
                            QStringLiteral("v1:no es base64!"),
                            QStringLiteral("v1:")};
    for (const QString& malo : malos)
        EXPECT_EQ(utilerias->DesEncripta(malo), QString()) << malo.toStdString();

    const QString bitacora = QString::fromUtf8(leer(ruta(QStringLiteral("catalogo-ftp.log"))));
    EXPECT_TRUE(bitacora.contains(QStringLiteral("no se puede autenticar"))) << bitacora.toStdString();
    EXPECT_FALSE(bitacora.contains(QStringLiteral("Palabras secretas")));
}

TEST_F(UtileriasTest, loCifradoPorOtroUsuarioDaVacio) {
    const QString cifrado = utilerias->Encripta(QStringLiteral("ventas"));
    QTemporaryDir otroUsuario;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(otroUsuario.path()));
    EXPECT_EQ(nueva()->DesEncripta(cifrado), QString());
}

TEST_F(UtileriasTest, laCajaDeConsolaContestaComoUnRechazo) {
    const std::vector<std::pair<qint32, quint8>> casos{{0, 1}, {16, 1}, {64, 1}, {36, 7}, {36 + 256, 7},
                                                       {1, 2}, {2, 3},  {3, 2},  {5, 2}};
    for (const auto& [estilo, respuesta] : casos) {
        QString texto = QStringLiteral("primera\rsegunda");
        QString titulo = QStringLiteral("Atención");
        qint32 e = estilo;
        quint8 extra = 0;
        ::testing::internal::CaptureStderr();
        const quint8 contestado = utilerias->MsgBoxSkn(texto, e, titulo, extra);
        const QString impreso = QString::fromStdString(::testing::internal::GetCapturedStderr());
        EXPECT_EQ(contestado, respuesta) << estilo;
        EXPECT_EQ(impreso, QStringLiteral("Atención: primera\nsegunda\n"));
    }
}

TEST_F(UtileriasTest, dameTextoLeeLaTablaDeTextos) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("textos_test"));
        db.setDatabaseName(ruta(QStringLiteral("textos.sqlite")));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE textos (Numero INTEGER, Texto TEXT)")));
        ASSERT_TRUE(q.exec(
            QStringLiteral("INSERT INTO textos VALUES (1072, 'Campos del producto'), (382, 'Ñandú')")));
    }
    ado::Connection conexion;
    conexion.adoptar(QStringLiteral("textos_test"));
    EXPECT_EQ(utilerias->DameTexto(1072, conexion), QStringLiteral("Campos del producto"));
    EXPECT_EQ(utilerias->DameTexto(382, conexion), QStringLiteral("Ñandú"));
    EXPECT_EQ(utilerias->DameTexto(5, conexion), QString());
    conexion.Close();
    EXPECT_EQ(utilerias->DameTexto(1072, conexion), QString());
}

} // namespace
