#include "base_de_bench.h"

#include "components/EsquemaPuntoDeVenta.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <cstdio>

bool prepararBase(const QString& nombre, qint32 productos) {
    QSqlDatabase db = QSqlDatabase::addDatabase("QMYSQL", "bench");
    db.setHostName("127.0.0.1");
    db.setPort(3306);
    db.setUserName("root");
    if (!db.open()) {
        std::fprintf(stderr, "MariaDB: %s\n", qPrintable(db.lastError().text()));
        return false;
    }
    QSqlQuery(db).exec("DROP DATABASE IF EXISTS " + nombre);
    QSqlQuery(db).exec("CREATE DATABASE " + nombre + " CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci");
    QSqlQuery(db).exec("USE " + nombre);
    QString error;
    if (!puntoDeVenta::crearEsquema(db, &error) ||
        !puntoDeVenta::llenarCatalogoDeMuestra(db, productos, &error)) {
        std::fprintf(stderr, "catálogo: %s\n", qPrintable(error));
        return false;
    }
    return true;
}

void borrarBase(const QString& nombre) {
    QSqlQuery(QSqlDatabase::database("bench")).exec("DROP DATABASE IF EXISTS " + nombre);
}
