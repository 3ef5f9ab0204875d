#pragma once
// Nodex.BasesDD: the point-of-sale database.

#include "components/Componente.h"
#include "winapi/ado.h"

#include <QString>

class BasesDD : public Componente {
public:
    QString cRuta;     // server host, or "sqlite:<folder>" for an embedded catalogue
    QString cMiBase;   // database name
    QString cUsuario;  // user
    QString cPassword; // password
    qint32 cPuerto = 3306;
    // The database's own words for why the last AbrirBdD or AbrirTabla failed, for the user to read.
    QString cError;

    // Opens the database; true and an open connection in `conexion` on success.
    virtual bool AbrirBdD(ado::Connection& conexion, const QString& base) = 0;
    // Runs "SELECT <campos or *> FROM <fuente>"; true when the rows are open (first row current). No
    // rows is false, with the recordset still open for its columns ("productos LIMIT 0").
    virtual bool AbrirTabla(ado::Recordset& rs, ado::Connection& conexion, const QString& fuente,
                            const QString& campos = QString()) = 0;
    virtual void CierraTabla(ado::Recordset& rs) = 0;
    virtual void CierraBdD(ado::Connection& conexion) = 0;
    // Value of the point-of-sale setting of that name (table `configuracion`), "" when absent.
    virtual QString LeerConfig(const QString& nombre, ado::Connection& conexion) = 0;
};

// Registers the factory of "Nodex.BasesDD".
void registrarBasesDD();
