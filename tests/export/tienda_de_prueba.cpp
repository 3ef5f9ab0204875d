#include "tienda_de_prueba.h"

#include "app/Arranque.h"
#include "components/BasesDDSql.h"
#include "components/Registro.h"

#include <QFileInfo>

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

bool TiendaDePrueba::abrir(Motor motor, qint32 productos) {
    [&] { REQUERIR_SERVIDOR(preparar(motor, productos), razon.toStdString()); }();
    return !::testing::Test::IsSkipped() && !::testing::Test::HasFailure();
}

bool TiendaDePrueba::preparar(Motor motor, qint32 productos) {
    if (!base.abrir(motor, productos) || !ftp.listo()) {
        razon = base.motivo().isEmpty() ? ftp.motivo() : base.motivo();
        return false;
    }
    // The point-of-sale installation: its MySQL settings point at the test database; the program
    // completes the user and password with their defaults (root, empty), as the test server wants.
    BasesDDSql bd;
    base.configurar(bd);
    const QString vendalia = ruta(QStringLiteral("vendalia"));
    escribirArchivo(vendalia + QStringLiteral("/Q7K.ini"),
                    QStringLiteral("[Q7K]\r\nMySQLServer=%1\r\nMySQLPuerto=%2\r\n")
                        .arg(bd.cRuta)
                        .arg(bd.cPuerto)
                        .toUtf8());
    escribirArchivo(ruta(nombreDelEjecutable() + QStringLiteral(".ini")),
                    QStringLiteral("[Configuración]\r\nRuta de Vendalia Pro=%1\r\n").arg(vendalia).toUtf8());

    cajas = {bd.cMiBase,         QStringLiteral("0"), QStringLiteral("catalogo.csv"),
             ftp.usuario(),      ftp.direccion(),     ftp.contrasena(),
             QStringLiteral("/")};
    grabar([](CajasDeConfiguracion&) {});
    return !::testing::Test::HasFailure();
}

void TiendaDePrueba::grabar(const std::function<void(CajasDeConfiguracion&)>& cambio) {
    const auto arrancar = [this] {
        reiniciarModulo();
        EXPECT_EQ(arrancarNucleo(carpeta, false), Arranque::listo);
    };
    cambio(cajas);
    arrancar(); // saving needs the components of a started program
    GrabarConfiguracion(cajas);
    arrancar();
}

void TiendaDePrueba::enviar() {
    clsDeProductos envio(avance);
    resultado = envio.enviar(clsDeProductos::Modo::programado, nullptr, nullptr);
}

QByteArray TiendaDePrueba::exportado() const {
    return leerArchivo(modulo().cCarpeta + QLatin1Char('/') + modulo().cArchivoFTP);
}

QByteArray TiendaDePrueba::publicado(const QString& remoto) const {
    return leerArchivo(ftp.carpeta() + QLatin1Char('/') + remoto, "<no está en el servidor>");
}

Ejecucion::Ejecucion(const QStringList& argumentos, const QStringList& entorno,
                     const std::function<void()>& enElHijo) {
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.remove("DISPLAY");
    variables.remove("WAYLAND_DISPLAY");
    for (const QString& variable : entorno)
        variables.insert(variable.section('=', 0, 0), variable.section('=', 1));
    proceso.setProcessEnvironment(variables);
    proceso.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    if (enElHijo)
        proceso.setChildProcessModifier(enElHijo);
#endif
    proceso.start(CATALOGO_EJECUTABLE, argumentos);
}

int Ejecucion::estado() {
    if (!proceso.waitForFinished(60000))
        proceso.kill();
    salida += QString::fromUtf8(proceso.readAllStandardOutput());
    errores += QString::fromUtf8(proceso.readAllStandardError());
    return proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1;
}
