#include "bd_base.h"

#include "entorno.h"
#include "winapi/ado.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

void PrintTo(Motor motor, std::ostream* os) {
    *os << (motor == Motor::MariaDB ? "MariaDB" : "SQLite");
}

std::string nombreDelMotor(const ::testing::TestParamInfo<Motor>& info) {
    return info.param == Motor::MariaDB ? "MariaDB" : "SQLite";
}

BaseDePrueba::~BaseDePrueba() {
    if (conexion.isEmpty())
        return;
    if (QSqlDatabase bd = db(); motor == Motor::MariaDB && bd.isOpen())
        QSqlQuery(bd).exec(QStringLiteral("DROP DATABASE IF EXISTS ") + base);
    QSqlDatabase::removeDatabase(conexion);
}

// `deLaPrueba`: a failure of the test itself, not a server that is not there.
bool BaseDePrueba::fallo(const QString& motivo, bool deLaPrueba) {
    razon = motivo;
    if (deLaPrueba)
        ADD_FAILURE() << "no se pudo crear la base de prueba: " << razon.toStdString();
    return false;
}

bool BaseDePrueba::abrir(Motor elMotor, qint32 productos) {
    motor = elMotor;
    conexion = ado::nuevoNombreDeConexion(QStringLiteral("BaseDePrueba"));
    QSqlDatabase bd;
    if (motor == Motor::MariaDB) {
        // Unique across the suites that CTest runs side by side and across earlier runs.
        base = QStringLiteral("catalogo_prueba_%1_%2")
                   .arg(QCoreApplication::applicationPid())
                   .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        bd = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), conexion);
        bd.setHostName(QLatin1String(hostDePrueba));
        bd.setPort(puertoDePrueba);
        bd.setUserName(QStringLiteral("root"));
        bd.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=5"));
        if (!bd.open())
            return fallo(bd.lastError().text(), false);
        QSqlQuery consulta(bd);
        if (!consulta.exec(
                QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci")
                    .arg(base)) ||
            !consulta.exec(QStringLiteral("USE ") + base))
            return fallo(consulta.lastError().text());
    } else {
        carpeta = std::make_unique<QTemporaryDir>();
        base = QStringLiteral("catalogo_prueba");
        bd = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion);
        bd.setDatabaseName(carpeta->filePath(base + QLatin1String(".sqlite")));
        if (!bd.open())
            return fallo(bd.lastError().text());
    }
    QString error;
    if (!puntoDeVenta::crearEsquema(bd, &error) ||
        !puntoDeVenta::llenarCatalogoDeMuestra(bd, productos, &error))
        return fallo(error);
    return true;
}

void BaseDePrueba::configurar(BasesDD& bd) const {
    bd.cRuta = motor == Motor::MariaDB ? QString::fromLatin1(hostDePrueba)
                                       : QStringLiteral("sqlite:") + carpeta->path();
    bd.cPuerto = puertoDePrueba;
    bd.cUsuario = QStringLiteral("root");
    bd.cPassword = QString();
    bd.cMiBase = base;
}

void BaseDePrueba::insertar(const QList<puntoDeVenta::Producto>& productos) {
    QString error;
    if (!puntoDeVenta::insertarProductos(db(), productos, &error))
        ADD_FAILURE() << "no se pudieron insertar los productos: " << error.toStdString();
}

void BaseDePrueba::ejecutar(const QString& sql) {
    QSqlQuery consulta(db());
    if (!consulta.exec(sql))
        ADD_FAILURE() << sql.toStdString() << ": " << consulta.lastError().text().toStdString();
}

puntoDeVenta::Producto productoDePrueba(const QString& clave, const QString& descrip) {
    puntoDeVenta::Producto producto;
    producto.Clave = clave;
    producto.Descrip = descrip;
    return producto;
}

void ConBaseDePrueba::SetUp() {
    REQUERIR_SERVIDOR(base.abrir(GetParam(), productosDeMuestra), base.motivo().toStdString());
}
