#pragma once
// nodex.DeAyudaQ7: the point of sale's own product search window. The caller fills the properties,
// calls BuscarProdsSkn, which returns when the user has chosen or given up, and reads Condicion.

#include "components/Componente.h"

#include <QString>

class QObject;

class DeAyudaQ7 : public Componente {
public:
    QString ArchivoAyuda;
    qint16 ItemAyuda = 0;
    QString cPassword;
    QString cUsuario;
    qint32 cPuerto = 3306;
    QString DescripDetallada;
    bool UsarShF1 = false;
    QString ArchivoColector;

    // The search window over `ventana`, on table `productos` of database `base` at `servidor` (with
    // the user, password and port above). `condicion`, when not empty, limits the products shown (a SQL
    // condition on `productos`). The chosen product's Clave, or "" when the user chose none.
    virtual QString BuscarProdsSkn(QObject*& ventana, const QString& servidor, QObject*& ventanaDuena,
                                   const QString& base, bool conDescripcion, QString& archivoIni,
                                   QString& archivoIniUsuario, QString& condicion, bool soloActivos,
                                   bool conKits) = 0;
    // The condition the window was left with; read once, right after the search.
    QString Condicion() const { return condicionFinal; }

protected:
    QString condicionFinal;
};
