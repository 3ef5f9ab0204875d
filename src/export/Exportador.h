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
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class Avance;
class BasesDD;
class FilasDeProductos;
class LineasDeLaLista;

struct ResultadoDeExportacion {
    bool completo = false; // the file was written whole and put in place
    qint32 total = 0;      // products listed (or in the catalogue)
    qint32 escritos = 0;   // lines written
    qint64 bytes = 0;
    bool deLaBase = false; // a query failed (a missing table, a lost connection, a time-out), not the file
};

// Each line as it is written, with the code of its product (UTF-8): what a send needs to tell what
// changed, without reading the file or the database again.
using AlEscribirLinea = std::function<void(QByteArrayView clave, QByteArrayView linea)>;

class Exportador {
public:
    // Listed codes one reading of the whole catalogue matches: a longer list is matched a window of this
    // many codes at a time, so that the memory a list takes (about 21 bytes a code, besides the lines
    // kept) stops growing with it. Tests make it small.
    static inline qint32 nCodigosPorRecorrido = 1 << 18;

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
    bool contarCatalogo();
    bool exportarTodos();
    bool exportarLista(ProductosDelArchivo& lista);
    // Reads the list again from its start, past its first `productos` products.
    bool saltar(ProductosDelArchivo& lista, qint32 productos);
    // The lines of the next `codigos` listed codes, from one reading of the whole catalogue.
    bool recorrerCatalogo(ProductosDelArchivo& lista, qint32 codigos, LineasDeLaLista& lineas);
    bool exportarBloque(const QList<ProductoListado>& bloque, qint32& numero, LineasDeLaLista* recorrido);
    // The products of those codes by one query, each line under the code its product carries, those
    // with a shared code left out; `alguno` tells whether it found any product at all.
    bool buscarVarios(const QStringList& claves, QHash<QString, QByteArray>& lineas, bool& alguno);
    // What a lookup of that code alone finds: the line of its first product, or no line (false in
    // `hallado`). False when the query failed.
    bool buscarUno(const QString& clave, QByteArray& linea, bool& hallado);
    void componerLinea(const FilasDeProductos& filas, QByteArray& linea) const;
    void escribir(QByteArrayView clave, const QByteArray& linea);
    // Whether the list was read to its end; if not, records why.
    bool listaEntera(const ProductosDelArchivo& lista);
    // Records why the rows could not be read; false, to be returned.
    bool fallo(const FilasDeProductos& filas);
    // True once the program asks the send to stop: the file is then left unfinished.
    bool interrumpido();
    // A problem the shop should correct, said once per send in the log and the progress.
    void avisar(const QString& aviso);
    // Whether the progress text is due for this product: paced, and always for the last one.
    bool tocaMostrar(qint32 numero);
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
    qint32 productosEnCatalogo = 0;
    // The codes, as stored, of the products whose code another product shares as the database compares
    // codes (MySQL's without regard to case): each of them is written as a lookup of its code finds it.
    QSet<QString> compartidas;
    ArchivoDeExportacion* archivo = nullptr;
    ResultadoDeExportacion resultado;
    QString porQue; // why the export stopped short
};
