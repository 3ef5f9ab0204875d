#include "tienda_de_prueba.h"

#include "components/BasesDDSql.h"
#include "components/Registro.h"
#include "export/clsDeProductos.h"
#include "modulo/Arranque.h"
#include "modulo/Modulo.h"

#include <QDir>
#include <QFile>

void AvanceAnotado::ProcesarEventos() {
    ++eventos;
    if (alProcesar)
        alProcesar(eventos);
}

TiendaDePrueba::TiendaDePrueba(const QString& carpetaDelPrograma)
    : carpeta(carpetaDelPrograma.isEmpty() ? temporal.path() : carpetaDelPrograma) {
    // The enciphering key of the test's own user, never the real one's.
    xdgAnterior = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", usuario.path().toUtf8());
    registrarComponentesDelNucleo();
}

TiendaDePrueba::~TiendaDePrueba() {
    reiniciarModulo();
    // Start-up made the program folder current, and it is about to be removed.
    QDir::setCurrent(QDir::tempPath());
    qputenv("XDG_CONFIG_HOME", xdgAnterior);
}

bool TiendaDePrueba::preparar(Motor motor, qint32 productos) {
    if (!base.abrir(motor, productos)) {
        razon = base.motivo();
        return false;
    }
    if (!ftp.listo()) {
        razon = ftp.motivo();
        return false;
    }
    // The point-of-sale installation: its MySQL settings point at the test database; the program
    // completes the user and password with their defaults (root, empty), as the test server wants.
    BasesDDSql bd;
    base.configurar(bd);
    const QString vendalia = ruta(QStringLiteral("vendalia"));
    QDir().mkpath(vendalia);
    QFile q7k(vendalia + QStringLiteral("/Q7K.ini"));
    EXPECT_TRUE(q7k.open(QIODevice::WriteOnly));
    q7k.write(QStringLiteral("[Q7K]\r\nMySQLServer=%1\r\nMySQLPuerto=%2\r\n")
                  .arg(bd.cRuta)
                  .arg(bd.cPuerto)
                  .toUtf8());
    q7k.close();

    QFile ini(ruta(nombreDelEjecutable() + QStringLiteral(".ini")));
    EXPECT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QStringLiteral("[Configuración]\r\nRuta de Vendalia Pro=%1\r\n").arg(vendalia).toUtf8());
    ini.close();

    cajas = {bd.cMiBase,         QStringLiteral("0"), QStringLiteral("catalogo.csv"),
             ftp.usuario(),      ftp.direccion(),     ftp.contrasena(),
             QStringLiteral("/")};
    grabar([](CajasDeConfiguracion&) {});
    return !::testing::Test::HasFailure();
}

void TiendaDePrueba::grabar(const std::function<void(CajasDeConfiguracion&)>& cambio) {
    cambio(cajas);
    EXPECT_TRUE(arrancar());
    GrabarConfiguracion(cajas);
    EXPECT_TRUE(arrancar());
}

bool TiendaDePrueba::arrancar() {
    reiniciarModulo();
    return arrancarNucleo(carpeta, false) == Arranque::listo;
}

void TiendaDePrueba::camposAExportar(const QStringList& campos) {
    QFile archivo(modulo().cArchivoCampos);
    ASSERT_TRUE(archivo.open(QIODevice::WriteOnly));
    archivo.write(campos.join(QStringLiteral("\r\n")).toUtf8() + QByteArrayLiteral("\r\n"));
}

void TiendaDePrueba::productosAExportar(const QList<ProductoDeLista>& productos) {
    ASSERT_TRUE(escribirListaDeProductos(modulo().cArchivoProductos, productos));
}

void TiendaDePrueba::enviar() {
    clsDeProductos envio(avance);
    envio.CrearArchivo();
    resultado = static_cast<int>(envio.resultado());
}

QByteArray TiendaDePrueba::exportado() const {
    QFile archivo(modulo().cCarpeta + QLatin1Char('/') + modulo().cArchivoFTP);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray();
}

QByteArray TiendaDePrueba::publicado(const QString& remoto) const {
    QFile archivo(ftp.carpeta() + QLatin1Char('/') + remoto);
    return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<no está en el servidor>");
}
