#include "tienda_en_ventana.h"

#include "app/Arranque.h"
#include "app/Demo.h"
#include "app/LineaDeComandos.h"
#include "app/iniciar.h"
#include "components/BusquedaDeProductos.h"
#include "components/Nucleo.h"
#include "components/Registro.h"
#include "config/Configuracion.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"
#include "shell/frmDescripcion.h"
#include "winapi/shell_notify.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSqlDatabase>
#include <QTabWidget>
#include <stdexcept>

void TiendaEnVentana::SetUp() {
    ASSERT_TRUE(carpeta.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(usuario.path()));
    reiniciarModulo();
    shell_notify::ForzarBandejaDisponible(true);
}

void TiendaEnVentana::TearDown() {
    ventana.reset();
    shell_notify::ForzarBandejaDisponible(std::nullopt);
    ponerCajaDelSistema({});
    reiniciarModulo();
}

void TiendaEnVentana::prepararTienda(const QList<puntoDeVenta::Producto>& productos, qint16 intervalo,
                                     const QString& programa) {
    const QString vendalia = ruta(QStringLiteral("vendalia"));
    QDir().mkpath(vendalia);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tienda"));
        db.setDatabaseName(vendalia + QStringLiteral("/datos1.sqlite"));
        QString error;
        EXPECT_TRUE(db.open() && puntoDeVenta::crearEsquema(db, &error) &&
                    puntoDeVenta::llenarCatalogoDeMuestra(db, 0, &error) &&
                    puntoDeVenta::insertarProductos(db, productos, &error))
            << error.toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tienda"));
    escribir(vendalia + QStringLiteral("/Q7K.ini"),
             "[Q7K]\r\nMySQLServer=sqlite:" + vendalia.toUtf8() + "\r\n");
    escribir(ruta(programa + QStringLiteral(".ini")),
             "[Configuración]\r\nRuta de Vendalia Pro=" + vendalia.toUtf8() +
                 "\r\nBase de datos principal=datos1\r\nIntervalo en minutos para enviar productos=" +
                 QByteArray::number(intervalo) + "\r\n");
}

frmInicial& TiendaEnVentana::cargar(const QList<puntoDeVenta::Producto>& productos, qint16 intervalo) {
    prepararTienda(productos, intervalo, nombreDelEjecutable());
    EXPECT_NE(arrancar(), nullptr);
    ventana->setWindowState(Qt::WindowNoState);
    ventana->show();
    ventana->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(ventana.get()));
    return *ventana;
}

frmInicial* TiendaEnVentana::arrancar(const QStringList& opciones) {
    ventana.reset(qobject_cast<frmInicial*>(iniciar(
        leerLineaDeComandos(opciones + QStringList{QStringLiteral("--carpeta"), carpeta.path()}).value())));
    return ventana.get();
}

void TiendaEnVentana::prepararMuestra(qint16 intervalo) {
    registrarComponentesDelNucleo();
    // The catalogue is made once for the run and copied.
    static QTemporaryDir modelo;
    const QString catalogo = QStringLiteral("/vendalia/datos1.sqlite");
    QString error;
    if (!QFile::exists(modelo.path() + catalogo) && !prepararDemo(modelo.path(), &error))
        throw std::runtime_error("no se pudo preparar la tienda de muestra: " + error.toStdString());
    QDir().mkpath(ruta(QStringLiteral("vendalia")));
    QFile::copy(modelo.path() + catalogo, carpeta.path() + catalogo);
    // Without its folder the program would stop on a question nobody answers.
    if (!prepararDemo(carpeta.path(), &error))
        throw std::runtime_error("no se pudo preparar la tienda de muestra: " + error.toStdString());
    LibKtfaNucleo().EscribeIni(claves::kSeccion, claves::kIntervalo, QString::number(intervalo),
                               archivoIni());
}

frmInicial& TiendaEnVentana::cargarMuestra(qint16 intervalo, const QStringList& opciones) {
    prepararMuestra(intervalo);
    EXPECT_NE(arrancar(opciones), nullptr);
    return *ventana;
}

bool TiendaEnVentana::esperarEnvio() const {
    return QTest::qWaitFor([this] { return !ventana->EnviandoProductos(); }, 30000);
}

QString TiendaEnVentana::archivoIni() const {
    return ruta(nombreDelEjecutable() + QStringLiteral(".ini"));
}

QList<int> TiendaEnVentana::pestanasVisibles() const {
    QList<int> visibles;
    const auto* tabs = control<QTabWidget>("stbTabs");
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i)
        if (tabs->isTabVisible(i))
            visibles << i;
    return visibles;
}

QSystemTrayIcon* TiendaEnVentana::icono(frmInicial* v) const {
    return shell_notify::IconoDeBandeja(ventanas::hWndDe(v ? v : ventana.get()), 1);
}

frmDescripcion* TiendaEnVentana::descripcion() const {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<frmDescripcion*>(w); d != nullptr && d->isVisible())
            return d;
    return nullptr;
}

QString buscarEnDialogo(QWidget* modal, const QString& filtro, Qt::Key tecla) {
    auto* dialogo = qobject_cast<DialogoDeBusqueda*>(modal);
    EXPECT_NE(dialogo, nullptr);
    if (dialogo == nullptr)
        return QString();
    EXPECT_TRUE(QTest::qWaitFor([dialogo] { return !dialogo->cargando(); }));
    auto* txtBuscar = dialogo->findChild<QLineEdit*>(QStringLiteral("txtBuscar"));
    QTest::keyClicks(txtBuscar, filtro);
    const QString cuenta = dialogo->findChild<QLabel*>(QStringLiteral("lblCuenta"))->text();
    QTest::keyClick(txtBuscar, tecla);
    return cuenta;
}

AlAparecer::AlAparecer(std::function<void(QWidget*)> accion, bool siempre) {
    QObject::connect(&reloj, &QTimer::timeout, [this, siempre, accion = std::move(accion)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (!siempre)
            reloj.stop();
        hecho = true;
        accion(modal);
    });
    reloj.start(5);
}

Contestador::Contestador(const QString& boton)
    : contestar(
          [this, boton](QWidget* modal) {
              auto* caja = qobject_cast<QMessageBox*>(modal);
              if (caja == nullptr)
                  return;
              vistas << caja->windowTitle() + QStringLiteral(": ") + caja->text();
              for (QAbstractButton* b : caja->buttons())
                  if (b->text() == boton)
                      return b->click();
              QTest::keyClick(caja, Qt::Key_Return);
          },
          true) {}
