#include "export/clsDeProductos.h"

#include "components/DeAyudaQ7.h"
#include "config/Configuracion.h"
#include "export/Avance.h"
#include "export/Exportador.h"
#include "export/FormatoRegional.h"
#include "export/UltimoEnvio.h"
#include "ftp/Publicacion.h"
#include "modulo/ArchivosDelPrograma.h"
#include "modulo/CandadoDeEnvio.h"
#include "modulo/Modulo.h"
#include "modulo/Redondeo.h"
#include "modulo/Rutinas.h"

#include <QScopeGuard>
#include <spdlog/spdlog.h>

namespace {

const QString kInterrumpido = QStringLiteral("se interrumpió al cerrarse el programa");

// For as long as it lives, the FTP layer's waits on this thread end early once `avance` is interrupted.
class CortesDelFtp {
public:
    explicit CortesDelFtp(const Avance& avance) {
        wininet::setCancelCheck([&avance] { return avance.Interrumpido(); });
    }
    ~CortesDelFtp() { wininet::setCancelCheck({}); }
    CortesDelFtp(const CortesDelFtp&) = delete;
    CortesDelFtp& operator=(const CortesDelFtp&) = delete;
};

// The unreadable enciphered settings of the database (MySQL…) or of the FTP account.
QStringList ilegiblesDe(bool deLaBase) {
    QStringList nombres;
    for (const QString& nombre : modulo().cIlegibles)
        if (nombre.startsWith(QLatin1String("MySQL")) == deLaBase)
            nombres << nombre;
    return nombres;
}

} // namespace

clsDeProductos::clsDeProductos(Avance& avance, QObject* parent) : QObject(parent), avance(avance) {
    connect(&mFTP, &clsFTP::FileTransferProgress, this, &clsDeProductos::mFTP_FileTransferProgress);
    mFTP.SetModePassive();
    mFTP.SetTransferBinary();
}

clsDeProductos::~clsDeProductos() {
    mFTP.CloseConnection();
}

clsDeProductos::Resultado clsDeProductos::enviar(Modo modo, QString* cambios, QString* error) {
    const auto decir = qScopeGuard([this, cambios, error] {
        if (cambios && ultimo == Resultado::Enviado)
            *cambios = cambiosDelEnvio;
        else if (error && ultimo != Resultado::Enviado && ultimo != Resultado::SinCambios)
            *error = ultimoDetalle;
    });
    const Modulo& m = modulo();
    BasesDD& bd = *m.oBasesDD;
    const CortesDelFtp cortes(avance);
    CandadoDeEnvio candado(m.cCarpeta);
    if (const auto toma = candado.tomar([this] { avance.ProcesarEventos(); }, &ultimoDetalle);
        toma != CandadoDeEnvio::Toma::tomado) {
        // A lock that cannot be made is a fault of the program folder: waiting for the next send would not
        // mend it, and a scheduler must see a failure, not a busy folder.
        const bool ocupado = toma == CandadoDeEnvio::Toma::ocupado;
        ultimo = ocupado ? Resultado::OtroEnvio : Resultado::ArchivoIncompleto;
        spdlog::warn("Envío: no empieza: {}", ultimoDetalle.toStdString());
        if (!ocupado)
            anotarFallo(0, 0, ultimoDetalle);
        return ultimo;
    }
    spdlog::info("Envío: comienza");

    // What the last publication was. Unreadable, it stops the send: without it a catalogue that lost most
    // of its products would go out unchecked, and it must not be written over.
    LoPublicado anterior;
    QString porQueNo;
    const LecturaDeLoPublicado leido =
        leerLoPublicado(archivos::en(m.cCarpeta, archivos::kPublicado), anterior, &porQueNo);
    if (leido == LecturaDeLoPublicado::ilegible) {
        ultimo = Resultado::ArchivoIncompleto;
        ultimoDetalle = porQueNo;
        anotarFallo(0, 0, ultimoDetalle);
        return ultimo;
    }
    if (leido == LecturaDeLoPublicado::danado) {
        const QString aviso = porQueNo + QStringLiteral("; se publica como la primera vez");
        spdlog::warn("Envío: {}", aviso.toStdString());
        avance.Aviso(aviso);
    }

    // A connection of the send's own, opened and closed on the thread that sends: a database connection
    // serves the thread that opened it, and the window's thread keeps the shared one for its tabs.
    ado::Connection conexion;
    if (!bd.AbrirBdD(conexion, bd.cMiBase)) {
        ultimo = Resultado::SinBaseDeDatos;
        ultimoDetalle =
            QStringLiteral("no se pudo abrir la base de datos '%1': %2").arg(bd.cMiBase, bd.cError);
        if (const QStringList ilegibles = ilegiblesDe(true); !ilegibles.isEmpty())
            ultimoDetalle += QStringLiteral("; ") + TextoDeIlegibles(ilegibles);
        anotarFallo(0, 0, ultimoDetalle);
        return ultimo;
    }
    avance.MostrarLabel3(true);

    Exportador exportador(bd, conexion, avance, [this](QByteArrayView clave, QByteArrayView linea) {
        huella.agregar(clave, linea);
    });
    QString noExportado;
    const ResultadoDeExportacion exportado = exportador.exportar(
        m.cArchivoProductos, m.cArchivoCampos, archivos::en(m.cCarpeta, m.cArchivoFTP), &noExportado);
    const LoPublicado* antes = nullptr;
    if (exportado.completo) {
        QString archivo = m.cArchivoFTP;
        stNombreArchivo = m.oArchivos->NombreDeArchivo(archivo);
        // Another server, account, folder or name is a publication of its own.
        const QByteArray destino = destinoDe(m.cURLFTP, m.cUsuarioFTP, m.cDirectorioFTP + stNombreArchivo);
        if (leido == LecturaDeLoPublicado::leido && anterior.destino == destino)
            antes = &anterior;
        if (!Retener(modo, antes, huella.lineas())) {
            avance.Label3(QStringLiteral("Enviando archivo..."));
            avance.ProcesarEventos();
            SubirArchivo(modo, antes, destino);
            avance.Label3(QStringLiteral("Archivo enviando"));
            avance.ProcesarEventos();
        }
    } else {
        // The previous export file stays in place and nothing half-written is uploaded.
        ultimo = exportado.deLaBase ? Resultado::SinBaseDeDatos : Resultado::ArchivoIncompleto;
        ultimoDetalle =
            exportado.deLaBase
                ? QStringLiteral("no se pudo leer la base de datos '%1': %2").arg(bd.cMiBase, noExportado)
                : noExportado;
        avance.Pitido();
    }
    avance.MostrarLabel3(false);
    conexion.Close();

    const QString remoto = m.cDirectorioFTP + stNombreArchivo;
    switch (ultimo) {
    case Resultado::Enviado:
        anotarPublicacion(exportado.escritos, exportado.total, exportado.bytes, remoto, cambiosDelEnvio);
        break;
    case Resultado::SinCambios:
        anotarSinCambios(exportado.escritos, exportado.total, exportado.bytes, remoto, antes->publicado);
        break;
    case Resultado::Retenido:
        anotarRetencion(exportado.escritos, exportado.total, antes->lineas);
        break;
    default:
        // Wherever the stop found the send, its outcome line says why it ended there.
        if (avance.Interrumpido())
            ultimoDetalle = kInterrumpido;
        anotarFallo(exportado.escritos, exportado.total, ultimoDetalle);
    }
    return ultimo;
}

bool clsDeProductos::Retener(Modo modo, const LoPublicado* anterior, qint32 lineas) {
    if (!anterior || modo == Modo::forzado || !retener(*anterior, lineas))
        return false;
    const QString porQue = textoDeRetencion(lineas, anterior->lineas);
    if (modo == Modo::ahora && avance.PublicarRetenido(porQue)) {
        spdlog::info("Envío: {}; se publica porque así se respondió", porQue.toStdString());
        return false;
    }
    ultimo = Resultado::Retenido;
    ultimoDetalle = porQue;
    return true;
}

void clsDeProductos::SubirArchivo(Modo modo, const LoPublicado* anterior, const QByteArray& destino) {
    const Modulo& m = modulo();
    blMostrarAvance = true;
    wininet::setUploadProgress([this](qint64 bytes) {
        enServidor = bytes;
        MostrarEnServidor();
    });
    const auto sinAvisos = qScopeGuard([] { wininet::setUploadProgress({}); });
    // Empty settings would only give "URL no es válida" or a refused login.
    const QStringList ilegibles = ilegiblesDe(false);
    if (!ilegibles.isEmpty() || !mFTP.OpenConnection(m.cURLFTP, m.cUsuarioFTP, m.cClaveFTP)) {
        ultimo = Resultado::SinConexionFtp;
        ultimoDetalle =
            ilegibles.isEmpty() ? mFTP.GetLastErrorMessage().trimmed() : TextoDeIlegibles(ilegibles);
        avance.Pitido();
        return;
    }
    const QString remoto = m.cDirectorioFTP + stNombreArchivo;
    if (modo == Modo::programado && anterior && SigueEnElServidor(*anterior, remoto)) {
        ultimo = Resultado::SinCambios;
        return;
    }
    const QString local = archivos::en(m.cCarpeta, stNombreArchivo);
    if (!publicar(mFTP, local, remoto, &ultimoDetalle)) {
        ultimo = Resultado::SubidaFallida;
        avance.Pitido();
        return;
    }
    ultimo = Resultado::Enviado;
    // Kept only once the server has the file: a send that failed compares with what is really there.
    std::optional<CambiosDelCatalogo> cambios;
    QString porQue;
    if (!guardarPublicacion(archivos::en(m.cCarpeta, archivos::kPublicado),
                            publicacionDe(huella, destino, anterior, QDateTime::currentDateTimeUtc()), huella,
                            anterior, cambios, &porQue)) {
        const QString aviso = porQue + QStringLiteral("; el próximo envío subirá el archivo otra vez");
        spdlog::warn("Envío: {}", aviso.toStdString());
        avance.Aviso(aviso);
    }
    cambiosDelEnvio = textoDeCambios(cambios);
}

// The same bytes as the published file, and the server still holds a file of that size under its name.
// A server that cannot say gets the file once an hour, so that one deleted by hand comes back.
bool clsDeProductos::SigueEnElServidor(const LoPublicado& anterior, const QString& remoto) {
    if (anterior.bytes != huella.bytes() || anterior.resumen != huella.resumen())
        return false;
    switch (comparar(mFTP, remoto, anterior.bytes)) {
    case EnElServidor::igual:
        return true;
    case EnElServidor::distinto:
        return false;
    case EnElServidor::noSabe:
        break;
    }
    const qint64 desdeLaSubida = anterior.subido.secsTo(QDateTime::currentDateTimeUtc());
    return desdeLaSubida >= 0 && desdeLaSubida < nSegundosSinTamano;
}

void clsDeProductos::mFTP_FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes) {
    if (!blMostrarAvance)
        return;
    // A count past the total is not shown, but the window still gets its turn.
    if (lCurrentBytes > lTotalBytes) {
        avance.ProcesarEventos();
        return;
    }
    totalSubido = lTotalBytes;
    MostrarEnServidor();
}

// The session takes a small file whole into its buffers before the first byte leaves, so Label5 counts
// what the FTP layer says the server has, and reaches the total when the server has it all.
void clsDeProductos::MostrarEnServidor() {
    if (totalSubido < 0)
        return;
    const qint64 llegados = std::min(enServidor, totalSubido);
    // The label is rewritten, and waiting events looked at, only as often as a person can follow (the
    // whole file always).
    if (llegados == mostrados || (llegados != totalSubido && !ritmoFtp.toca()))
        return;
    mostrados = llegados;
    const FormatoRegional formato;
    avance.Label5(QStringLiteral("De '") + stNombreArchivo + QStringLiteral("': bytes copiados ") +
                  formato.conMiles(llegados) + QStringLiteral(" de ") + formato.conMiles(totalSubido));
    avance.ProcesarEventos();
}

QString clsDeProductos::BuscarProd(QString& stCondicion, bool& /*blEnKits*/, QString& /*stCaption*/,
                                   QString& stCondicionShF1, bool& blUsarShF1, QString& stColector) {
    Modulo& m = modulo();
    QString resultado;
    std::unique_ptr<DeAyudaQ7> ayuda;
    if (!CreaObjeto(ayuda, QStringLiteral("DeAyudaQ7"), QStringLiteral("nodex")))
        return resultado;
    BasesDD& bd = *m.oBasesDD;
    ayuda->ArchivoAyuda = QString();
    ayuda->ItemAyuda = 191;
    ayuda->cPassword = bd.cPassword;
    ayuda->cUsuario = bd.cUsuario;
    ayuda->cPuerto = bd.cPuerto;
    if (!bd.AbrirBdD(m.oConexion, bd.cMiBase))
        return resultado;
    // Read for every search: a change made at the point of sale counts from the next one.
    ayuda->DescripDetallada = bd.LeerConfig(QStringLiteral("DescripDetallada"), m.oConexion);
    ayuda->UsarShF1 = blUsarShF1;
    ayuda->ArchivoColector = stColector;
    QObject* ventana = m.frmInicial;
    QObject* duena = m.frmInicial;
    QString ini = m.cArchivoINI;
    QString iniUsuario = m.cArchivoINI;
    resultado = ayuda->BuscarProdsSkn(ventana, bd.cRuta, duena, bd.cMiBase, true, ini, iniUsuario,
                                      stCondicion, true, false);
    stCondicionShF1 = ayuda->Condicion();
    m.oConexion.Close();
    return resultado;
}

void clsDeProductos::GrabarLista(const QList<ProductoDeLista>& filas) {
    Modulo& m = modulo();
    escribirListaDeProductos(m.cArchivoProductos, filas);
    if (filas.isEmpty())
        m.oArchivos->BorraArchivo(m.cArchivoProductos);
}

void clsDeProductos::GrabarListaCampos(const QList<CampoDeLista>& elementos) {
    Modulo& m = modulo();
    escribirListaDeCampos(m.cArchivoCampos, elementos, m.cSeparador, *m.oKtfa);
}

bool clsDeProductos::LstProds_KeyPress(qint16& inTecla, QString& elemento, const CajaDeEntrada& InputBox) {
    const bool esDigito = inTecla >= '1' && inTecla <= '9';
    if (!esDigito && inTecla != 13)
        return false;
    Modulo& m = modulo();
    const qsizetype p = elemento.indexOf(m.cSeparador) + 1; // from 1; 0 when the item has no mark
    QString propuesta;
    if (esDigito)
        propuesta = QChar(inTecla);
    else if (p > 0)
        propuesta = QString::number(qRound(m.oKtfa->nxVal(elemento.mid(p + 3))));

    const QString prompt = m.oUtilerias->DameTexto(1072, m.oConexion);
    const QString titulo = m.oUtilerias->DameTexto(382, m.oConexion);
    // Numbers past what 16 bits hold are refused like 0: no list has that many fields.
    const std::optional<qint16> respuesta = entero16(m.oKtfa->nxVal(InputBox(prompt, titulo, propuesta)));
    if (!respuesta || *respuesta <= 0)
        return false;
    const qint16 n = *respuesta;
    if (p > 0)
        elemento.truncate(p - 1);
    elemento += m.cSeparador + QLatin1Char('(') + QString::number(n) + QLatin1Char(')');
    return true;
}
