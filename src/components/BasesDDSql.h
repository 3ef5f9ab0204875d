#pragma once
// Nodex.BasesDD over Qt SQL: MySQL or MariaDB through QMYSQL, or, when cRuta is "sqlite:<folder>",
// the file <folder>/<base>.sqlite through QSQLITE (the demo's catalogue).

#include "components/BasesDD.h"

class BasesDDSql : public BasesDD {
public:
    // Seconds allowed to connect, and to wait for the server once connected, so that a stalled
    // server cannot hang the window. Tests shorten it.
    qint32 nSegundosDeEspera = 30;

    // A missing SQLite file is a failure, never a new empty database. Any earlier connection held by
    // `conexion` is closed first; on failure `conexion` stays closed and the log says why.
    bool AbrirBdD(ado::Connection& conexion, const QString& base) override;
    bool AbrirTabla(ado::Recordset& rs, ado::Connection& conexion, const QString& fuente,
                    const QString& campos = QString()) override;
    void CierraTabla(ado::Recordset& rs) override;
    void CierraBdD(ado::Connection& conexion) override;
    QString LeerConfig(const QString& nombre, ado::Connection& conexion) override;
};
