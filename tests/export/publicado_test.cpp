// What a send publishes: an unchanged catalogue stays home, each publication says what changed by product
// code, and a catalogue that lost most of its products waits, on FTP servers and a local folder alike.

#include "app/ComandoEnviar.h"
#include "ftp_travieso.h"
#include "ftp_vsftpd.h"
#include "tienda_de_prueba.h"

#include <QFileInfo>
#include <functional>

namespace {

using Modo = clsDeProductos::Modo;

const QDateTime kAntiguo(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

// The server's copy made old, so that an upload shows in its time.
void envejecer(const QString& ruta) {
    QFile archivo(ruta);
    if (archivo.open(QIODevice::ReadWrite))
        archivo.setFileTime(kAntiguo, QFileDevice::FileModificationTime);
}

bool subido(const QString& ruta) {
    return QFileInfo(ruta).lastModified() != kAntiguo;
}

class Publicado : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        if (!tienda.abrir(Motor::MariaDB, 30))
            return;
        escribirArchivo(tienda.ruta("ListaDeCampos.dat"), "Clave\r\nDescrip\r\nPrecio3\r\n");
        carpeta = tienda.ftp.carpeta();
        const QLatin1StringView destino(GetParam());
        if (destino == QLatin1String("Vsftpd")) {
            vsftpd = std::make_unique<ServidorVsftpd>();
            REQUERIR_SERVIDOR(vsftpd->listo(), vsftpd->motivo().toStdString());
            wininet::setCaFile(vsftpd->certificado());
            carpeta = vsftpd->carpeta();
        } else if (destino == QLatin1String("Carpeta")) {
            carpeta = local.path();
        }
        tienda.grabar([&](CajasDeConfiguracion& cajas) {
            if (vsftpd) {
                cajas[3] = vsftpd->usuario();
                cajas[4] = "ftps://" + vsftpd->direccion();
                cajas[5] = vsftpd->contrasena();
            } else if (carpeta == local.path()) {
                cajas[4] = carpeta;
            }
        });
    }
    // `enviar`: its exit status; `salida` holds what it printed.
    int enviar(Modo modo = Modo::programado) {
        salida.clear();
        QTextStream texto(&salida);
        return EnviarUnaVez(texto, modo);
    }
    QString remoto() const { return carpeta + "/catalogo.csv"; }
    bool alDia() const { return leerArchivo(remoto()) == tienda.exportado(); }
    QString bitacora() const { return QString::fromUtf8(leerArchivo(tienda.ruta("catalogo-ftp.log"))); }

    TiendaDePrueba tienda;
    std::unique_ptr<ServidorVsftpd> vsftpd;
    QTemporaryDir local;
    QString carpeta;
    QString salida;
};

TEST_P(Publicado, SoloLoQueCambioYNuncaUnCatalogoQuePerdioLaMayoria) {
    if (IsSkipped() || HasFailure())
        return;
    ASSERT_EQ(enviar(), salida::kHecho) << salida.toStdString();
    EXPECT_TRUE(salida.endsWith("Enviado: /catalogo.csv\nPrimera publicación\n")) << salida.toStdString();
    EXPECT_TRUE(alDia());

    envejecer(remoto());
    EXPECT_EQ(enviar(), salida::kHecho);
    EXPECT_TRUE(salida.endsWith("\nSin cambios: /catalogo.csv\n")) << salida.toStdString();
    EXPECT_FALSE(subido(remoto()));
    EXPECT_TRUE(bitacora().contains(" bytes, sin cambios desde ")) << bitacora().toStdString();

    // One price changed, two products added and one withdrawn; each counted once.
    tienda.base.ejecutar("UPDATE productos SET Precio3 = Precio3 + 1 WHERE Clave = 'P000002'");
    tienda.base.ejecutar("DELETE FROM productos WHERE Clave = 'P000005'");
    tienda.base.insertar({productoDePrueba("Q1", "NUEVO UNO"), productoDePrueba("Q2", "NUEVO DOS")});
    EXPECT_EQ(enviar(), salida::kHecho);
    const QString cambios = "Cambios: 2 nuevos, 1 retirado, 1 modificado";
    EXPECT_TRUE(salida.endsWith("Enviado: /catalogo.csv\n" + cambios + "\n")) << salida.toStdString();
    EXPECT_TRUE(bitacora().contains("subido a '/catalogo.csv'; " + cambios)) << bitacora().toStdString();
    EXPECT_TRUE(alDia());

    // Deleted by hand on the server: the next send puts it back.
    ASSERT_TRUE(QFile::remove(remoto()));
    EXPECT_EQ(enviar(), salida::kHecho);
    EXPECT_TRUE(salida.endsWith("Cambios: 0 nuevos, 0 retirados, 0 modificados\n")) << salida.toStdString();
    EXPECT_TRUE(alDia());

    // Nine products left of 31: held, the published file kept, until --forzar.
    envejecer(remoto());
    tienda.base.ejecutar("DELETE FROM productos WHERE Clave > 'P000010'");
    EXPECT_EQ(enviar(), salida::kRetenido);
    const QString retenido = "9 productos frente a los 31 de la última publicación";
    EXPECT_TRUE(salida.endsWith("Retenido: " + retenido +
                                "; no se publicó. Si el catálogo es correcto: "
                                "catalogo-ftp enviar --forzar\n"))
        << salida.toStdString();
    EXPECT_TRUE(bitacora().contains(" warning [") && bitacora().contains("; retenido: " + retenido));
    EXPECT_FALSE(subido(remoto()));
    EXPECT_EQ(enviar(Modo::forzado), salida::kHecho);
    EXPECT_TRUE(salida.endsWith("Cambios: 0 nuevos, 22 retirados, 0 modificados\n")) << salida.toStdString();
    EXPECT_TRUE(alDia());
}

INSTANTIATE_TEST_SUITE_P(Destinos, Publicado, ::testing::Values("Pyftpdlib", "Vsftpd", "Carpeta"),
                         [](const auto& info) { return std::string(info.param); });

// What was kept cut short is taken for no publication; a file there that cannot be read stops the send,
// named; a server without SIZE gets an unchanged file again once the hour is up.
TEST(LoGuardado, DanadoIlegibleOSinTamano) {
    TiendaDePrueba tienda;
    if (!tienda.abrir(Motor::MariaDB, 30))
        return;
    ServidorFtpTravieso sinSize(QStringLiteral("sin-size"));
    REQUERIR_SERVIDOR(sinSize.listo(), sinSize.motivo().toStdString());
    tienda.grabar([&](CajasDeConfiguracion& cajas) { cajas[4] = sinSize.direccion(); });
    const QString guardado = tienda.ruta("catalogo-ftp.publicado");
    const QString remoto = sinSize.carpeta() + "/catalogo.csv";
    const auto enviar = [](QString& salida) {
        QTextStream texto(&salida);
        return EnviarUnaVez(texto);
    };
    const struct {
        const char* caso;
        std::function<void()> antes;
        int estado;
        const char* dicho; // at the end of the output
        bool subido;
    } envios[] = {
        {"primero", [] {}, salida::kHecho, "Primera publicación\n", true},
        {"en la hora", [] {}, salida::kHecho, "Sin cambios: /catalogo.csv\n", false},
        {"tras la hora", [] { clsDeProductos::nSegundosSinTamano = 0; }, salida::kHecho,
         "Cambios: 0 nuevos, 0 retirados, 0 modificados\n", true},
        {"cortado",
         [&] {
             clsDeProductos::nSegundosSinTamano = 3600;
             QFile::resize(guardado, QFileInfo(guardado).size() - 1);
         },
         salida::kHecho, "Primera publicación\n", true},
        {"ilegible",
         [&] {
             QFile::remove(guardado);
             QDir().mkdir(guardado);
         },
         salida::kArchivoIncompleto, "catalogo-ftp.publicado: es una carpeta, no un archivo\n", false},
    };
    for (const auto& envio : envios) {
        SCOPED_TRACE(envio.caso);
        envio.antes();
        envejecer(remoto);
        QString salida;
        EXPECT_EQ(enviar(salida), envio.estado) << salida.toStdString();
        EXPECT_TRUE(salida.endsWith(QString::fromUtf8(envio.dicho))) << salida.toStdString();
        EXPECT_EQ(subido(remoto), envio.subido);
    }
    EXPECT_TRUE(QString::fromUtf8(leerArchivo(tienda.ruta("catalogo-ftp.log")))
                    .contains("catalogo-ftp.publicado está dañado; se publica como la primera vez"));
}

} // namespace
