#pragma once
// The six product columns that hold the Id of a row of another table, and the names they stand for.
// Each table is read once per export, not once per product.

#include "winapi/ado.h"

#include <QHash>
#include <QString>
#include <optional>

class BasesDD;
class TextoDeValor;

struct TablaDeReferencia {
    QString tabla;   // "marcas"
    QString columna; // "Marca": the column written instead of the Id
};

// The reference table behind a field name (compared without regard to case), if the field is one.
std::optional<TablaDeReferencia> referenciaDeCampo(const QString& campo);

class Referencias {
public:
    Referencias(BasesDD& bd, ado::Connection& conexion, const TextoDeValor& texto);
    // The name that Id stands for in that table; "" for an Id of 0 or less, or one that is not there.
    QString nombre(const TablaDeReferencia& referencia, const QVariant& id);

private:
    const QHash<qint64, QString>& tabla(const TablaDeReferencia& referencia);

    BasesDD& bd;
    ado::Connection& conexion;
    const TextoDeValor& texto;
    QHash<QString, QHash<qint64, QString>> tablas; // by "tabla.columna"
};
