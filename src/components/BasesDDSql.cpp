#include "components/BasesDDSql.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <spdlog/spdlog.h>

namespace {

const QLatin1String prefijoSQLite("sqlite:");

std::string texto(const QString& s) {
    return s.toStdString();
}

} // namespace

bool BasesDDSql::AbrirBdD(ado::Connection& conexion, const QString& base) {
    conexion.Close();
    const QString nombre = ado::nuevoNombreDeConexion(QStringLiteral("BasesDD"));
    QString donde;
    QString error;
    bool abierta = false;
    {
        QSqlDatabase db;
        if (cRuta.startsWith(prefijoSQLite, Qt::CaseInsensitive)) {
            donde = QDir(cRuta.mid(prefijoSQLite.size())).filePath(base + QLatin1String(".sqlite"));
            if (QFileInfo(donde).isFile()) {
                db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
                db.setDatabaseName(donde);
                db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(nSegundosDeEspera * 1000));
            } else {
                error = QStringLiteral("el archivo no existe");
            }
        } else {
            donde = QStringLiteral("'%1' en %2:%3 como '%4'").arg(base, cRuta).arg(cPuerto).arg(cUsuario);
            db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), nombre);
            db.setHostName(cRuta);
            db.setPort(cPuerto);
            db.setUserName(cUsuario);
            db.setPassword(cPassword);
            db.setDatabaseName(base);
            // The read and write limits also cover a server that accepts the connection and then
            // never answers a query.
            db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1;MYSQL_OPT_READ_TIMEOUT=%1;"
                                                "MYSQL_OPT_WRITE_TIMEOUT=%1")
                                     .arg(nSegundosDeEspera));
        }
        if (db.isValid()) {
            abierta = db.open();
            if (!abierta)
                error = db.lastError().text();
        }
    }
    if (!abierta) {
        if (QSqlDatabase::contains(nombre))
            QSqlDatabase::removeDatabase(nombre);
        spdlog::error("No se pudo abrir la base de datos {}: {}", texto(donde), texto(error));
        cError = error;
        return false;
    }
    conexion.adoptar(nombre);
    return true;
}

bool BasesDDSql::AbrirTabla(ado::Recordset& rs, ado::Connection& conexion, const QString& fuente,
                            const QString& campos) {
    const QString sql = QLatin1String("SELECT ") +
                        (campos.trimmed().isEmpty() ? QStringLiteral("*") : campos) +
                        QLatin1String(" FROM ") + fuente;
    QString error;
    if (!rs.abrir(conexion, sql, &error)) {
        spdlog::error("No se pudo leer la base de datos ({}): {}", texto(sql), texto(error));
        cError = error;
        return false;
    }
    return !rs.Eof();
}

void BasesDDSql::CierraTabla(ado::Recordset& rs) {
    rs.Close();
}

void BasesDDSql::CierraBdD(ado::Connection& conexion) {
    conexion.Close();
}

QString BasesDDSql::LeerConfig(const QString& nombre, ado::Connection& conexion) {
    QSqlQuery consulta(conexion.baseDeDatos());
    consulta.setForwardOnly(true);
    bool leida = false;
    if (conexion.State() == ado::adStateOpen &&
        consulta.prepare(QStringLiteral("SELECT Valor FROM configuracion WHERE Nombre = ?"))) {
        consulta.addBindValue(nombre);
        leida = consulta.exec();
    }
    if (!leida) {
        const QString error = conexion.State() == ado::adStateOpen
                                  ? consulta.lastError().text()
                                  : QStringLiteral("la conexión está cerrada");
        spdlog::error("No se pudo leer la configuración {}: {}", texto(nombre), texto(error));
        return QString();
    }
    return consulta.next() ? consulta.value(0).toString() : QString();
}
