#pragma once
// The six product columns that hold the Id of a row of another table, and the names they stand for.
// Each table is read once per export, not once per product.

#include "winapi/ado.h"

#include <QHash>
#include <QString>
#include <functional>
#include <optional>

class BasesDD;
class TextoDeValor;

struct TablaDeReferencia {
    QString tabla;   // "marcas"
    QString columna; // "Marca": the column written instead of the Id
};

// The reference table behind a field name (compared without regard to case), if the field is one.
std::optional<TablaDeReferencia> referenciaDeCampo(const QString& campo);

// The names of one reference table by Id.
class NombresPorId {
public:
    NombresPorId() = default;
    explicit NombresPorId(QHash<qint64, QString> nombres) : nombres(std::move(nombres)) {}
    // The name that Id stands for; "" for an Id of 0 or less, not a number, or not there.
    QString operator()(const QVariant& id) const;
    QString operator()(qint64 id) const { return id > 0 ? nombres.value(id) : QString(); }

private:
    QHash<qint64, QString> nombres;
};

class Referencias {
public:
    // `avisar` hears, once per table, of a table that cannot be read.
    Referencias(BasesDD& bd, ado::Connection& conexion, const TextoDeValor& texto,
                std::function<void(const QString&)> avisar);
    // The table's names, read from the database the first time a field asks for them; none when the
    // table cannot be read, so that its column is sent empty.
    NombresPorId tabla(const TablaDeReferencia& referencia);

private:
    BasesDD& bd;
    ado::Connection& conexion;
    const TextoDeValor& texto;
    std::function<void(const QString&)> avisar;
    QHash<QString, NombresPorId> tablas; // by "tabla.columna"
};
