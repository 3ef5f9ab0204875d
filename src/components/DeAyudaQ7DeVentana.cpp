#include "components/DeAyudaQ7DeVentana.h"

#include "components/BasesDDSql.h"
#include "components/BusquedaDeProductos.h"
#include "components/Registro.h"

#include <QSqlError>
#include <QWidget>
#include <spdlog/spdlog.h>

QString DeAyudaQ7DeVentana::BuscarProdsSkn(QObject*& /*ventana*/, const QString& servidor,
                                           QObject*& ventanaDuena, const QString& base,
                                           bool /*conDescripcion*/, QString& /*archivoIni*/,
                                           QString& /*archivoIniUsuario*/, QString& condicion,
                                           bool /*soloActivos*/, bool /*conKits*/) {
    condicionFinal = condicion;
    BasesDDSql bd;
    bd.cRuta = servidor;
    bd.cMiBase = base;
    bd.cUsuario = cUsuario;
    bd.cPassword = cPassword;
    bd.cPuerto = cPuerto;
    ado::Connection conexion;
    if (!bd.AbrirBdD(conexion, base))
        return QString();

    QString sql = QStringLiteral("SELECT Clave, Descrip FROM productos");
    if (!condicion.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + condicion;
    sql += QStringLiteral(" ORDER BY Clave");
    QSqlQuery consulta(conexion.baseDeDatos());
    consulta.setForwardOnly(true);
    if (!consulta.exec(sql)) {
        spdlog::error("Búsqueda de productos: {}", consulta.lastError().text().toStdString());
        return QString();
    }
    DialogoDeBusqueda dialogo(qobject_cast<QWidget*>(ventanaDuena));
    dialogo.cargar(std::move(consulta));
    dialogo.exec();
    return dialogo.elegida();
}

void registrarBusquedaDeProductos() {
    registrarComponente(QStringLiteral("nodex.DeAyudaQ7"),
                        [] { return std::make_unique<DeAyudaQ7DeVentana>(); });
}
