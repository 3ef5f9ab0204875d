#pragma once
// One send: builds the export file from the point-of-sale database and publishes it to the FTP
// folder. A fresh object serves each send and is released right afterwards; it owns its FTP session.

#include "export/HuellaDelCatalogo.h"
#include "export/ListasDeArchivo.h"
#include "export/LoPublicado.h"
#include "ftp/clsFTP.h"
#include "modulo/Ritmo.h"

#include <QObject>
#include <QString>
#include <functional>

class Avance;

// An input box: prompt, title and proposed answer give the user's answer, "" when cancelled. The window
// shows a real one; the core only decides what to ask and what the answer changes.
using CajaDeEntrada =
    std::function<QString(const QString& prompt, const QString& titulo, const QString& propuesta)>;

class clsDeProductos : public QObject {
    Q_OBJECT
public:
    // How a send ended; `enviar` turns it into its exit status.
    enum class Resultado {
        SinEnviar,
        Enviado,
        SinCambios, // the server already holds this very file: nothing was uploaded
        Retenido,   // most of the published products are gone: nothing was uploaded
        SinBaseDeDatos,
        ArchivoIncompleto,
        SinConexionFtp,
        SubidaFallida,
        OtroEnvio // another send of the same folder held on past the wait; nothing was done
    };
    Q_ENUM(Resultado)

    // Who asked for the send. The timer and `enviar` leave an unchanged catalogue at home and hold one that
    // lost most of its products; "Enviar ahora" always uploads, asking first about a catalogue it would
    // have held; `enviar --forzar` always uploads.
    enum class Modo { programado, ahora, forzado };

    explicit clsDeProductos(Avance& avance, QObject* parent = nullptr);
    ~clsDeProductos() override;

    // Builds the export file and uploads it; returns when both have ended, or sooner once `avance` says
    // the send is interrupted. Runs on any thread, with a database connection of its own. When the file
    // was not published (held included), `error` says why, in words for the log and for `enviar`; when it
    // was uploaded, `cambios` says what changed since the last publication (textoDeCambios).
    Resultado enviar(Modo modo, QString* cambios, QString* error);
    // The window's send: it shows its own progress and the log keeps its outcome, so nothing is returned.
    void CrearArchivo(Modo modo) { enviar(modo, nullptr, nullptr); }

    // The point of sale's product search over the main window: the chosen product's code, or "" when
    // the user chose none, the database could not be opened or the search window could not be created.
    // `blEnKits` and `stCaption` are accepted for the callers' sake and not used; `stCondicionShF1`
    // receives the condition the search window was left with.
    QString BuscarProd(QString& stCondicion, bool& blEnKits, QString& stCaption, QString& stCondicionShF1,
                       bool& blUsarShF1, QString& stColector);
    // Rewrites the product list file with the grid's products (header row left out); with none the file
    // is deleted, so that the export sends every product.
    void GrabarLista(const QList<ProductoDeLista>& filas);
    // Rewrites the field list file from the items of the field list box.
    void GrabarListaCampos(const QList<CampoDeLista>& elementos);
    // A key pressed on the field list box. Digits 1 to 9 and Enter ask for an order number for the
    // current item (`elemento`, its text); true when the user gave one above 0 and `elemento` now carries
    // it, after the column name, as " - (n)". Every other key, 0 included, changes nothing.
    bool LstProds_KeyPress(qint16& inTecla, QString& elemento, const CajaDeEntrada& InputBox);
    // The session's progress during the upload: it gives the total, which Label5 shows with the bytes the
    // server has; a count past the total is not shown, though waiting events are still looked at.
    // Nothing before the upload starts.
    void mFTP_FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes);

    // How long an unchanged file stays unchecked on a server that cannot give its size (no SIZE).
    static inline qint64 nSegundosSinTamano = 3600;

private:
    bool Retener(Modo modo, const LoPublicado* anterior, qint32 lineas);
    void SubirArchivo(Modo modo, const LoPublicado* anterior, const QByteArray& destino);
    bool SigueEnElServidor(const LoPublicado& anterior, const QString& remoto);
    void MostrarEnServidor();

    Avance& avance;
    clsFTP mFTP;
    bool blMostrarAvance = false;
    QString stNombreArchivo;
    Resultado ultimo = Resultado::SinEnviar;
    QString ultimoDetalle;
    QString cambiosDelEnvio;
    HuellaDelCatalogo huella;
    Ritmo ritmoFtp;
    qint64 totalSubido = -1; // of the upload under way, once the session has said it
    qint64 enServidor = 0;   // bytes of it the server has
    qint64 mostrados = -1;   // the count Label5 shows
};
