#pragma once
// Builds the export file from the point-of-sale database: the chosen fields, in the chosen order, of
// the listed products (or of every product in code order when there is no product list).

#include "export/ArchivoDeExportacion.h"
#include "export/ListasDeArchivo.h"
#include "export/Referencias.h"
#include "export/TextoDeValor.h"
#include "modulo/Ritmo.h"
#include "winapi/ado.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Avance;
class BasesDD;

struct ResultadoDeExportacion {
    bool completo = false; // the file was written whole and put in place
    qint32 total = 0;      // products listed (or in the catalogue)
    qint32 escritos = 0;   // lines written
    qint64 bytes = 0;
    bool deLaBase = false; // a query failed (a missing table, a lost connection, a time-out), not the file
};

// Each line as it is written, with the code of its product: what a send needs to tell what changed,
// without reading the file or the database again.
using AlEscribirLinea = std::function<void(const QString& clave, QByteArrayView linea)>;

class Exportador {
public:
    Exportador(BasesDD& bd, ado::Connection& conexion, Avance& avance, AlEscribirLinea alEscribir = {});
    // When the file is not complete, `error` says why.
    ResultadoDeExportacion exportar(const QString& archivoProductos, const QString& archivoCampos,
                                    const QString& archivoSalida, QString* error);

private:
    struct Columna {
        enum class Tipo { Falta, Directa, Referencia } tipo = Tipo::Falta;
        int indice = -1; // position in the SELECT list
        NombresPorId nombres;
    };

    bool prepararColumnas(const QStringList& campos);
    bool exportarTodos();
    QList<ProductoDeLista> listaDeTodos(); // every product in code order, as a product list
    bool exportarLista(const QList<ProductoDeLista>& lista);
    bool terminoBien(ado::Recordset& rs);
    void escribirProducto(const ado::Recordset& rs);
    // True once the program asks the send to stop: the file is then left unfinished.
    bool interrumpido();
    // A problem the shop should correct, said once per send in the log and the progress.
    void avisar(const QString& aviso);
    void mostrarProducto(qint32 numero, const QString& clave, const QString& descripcion);

    BasesDD& bd;
    ado::Connection& conexion;
    Avance& avance;
    AlEscribirLinea alEscribir;
    TextoDeValor texto;
    Referencias referencias;
    Ritmo ritmo;

    std::vector<Columna> columnas;
    QString listaSelect; // "Clave,Descrip,..." with the columns the fields need
    ArchivoDeExportacion* archivo = nullptr;
    ResultadoDeExportacion resultado;
    QString porQue; // why the export stopped short
};
