#include "export/clsDeProductos.h"

#include "export/Avance.h"
#include "export/Exportador.h"
#include "modulo/Modulo.h"

#include <QLocale>
#include <spdlog/spdlog.h>

namespace {

// "###,###,##0": digits grouped by threes with the regional thousands separator.
QString conMiles(qint32 numero) {
    QLocale regional = QLocale::system();
    regional.setNumberOptions(QLocale::DefaultNumberOptions);
    return regional.toString(numero);
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

void clsDeProductos::CrearArchivo() {
    Modulo& m = modulo();
    BasesDD& bd = *m.oBasesDD;
    spdlog::info("Envío: comienza");

    if (!bd.AbrirBdD(m.oConexion, bd.cMiBase)) {
        ultimo = Resultado::SinBaseDeDatos;
        ultimoDetalle = QStringLiteral("no se pudo abrir la base de datos '%1'").arg(bd.cMiBase);
        spdlog::error("Envío: {}; no se envió nada", ultimoDetalle.toStdString());
        return;
    }
    avance.MostrarLabel3(true);

    Exportador exportador(bd, m.oConexion, avance);
    const ResultadoDeExportacion exportado = exportador.exportar(
        m.cArchivoProductos, m.cArchivoCampos, m.cCarpeta + QLatin1Char('/') + m.cArchivoFTP);
    if (exportado.completo) {
        avance.Label3(QStringLiteral("Enviando archivo..."));
        avance.ProcesarEventos();
        QString archivo = m.cArchivoFTP;
        stNombreArchivo = m.oArchivos->NombreDeArchivo(archivo);
        SubirArchivo();
        avance.Label3(QStringLiteral("Archivo enviando"));
        avance.ProcesarEventos();
    } else {
        // The previous export file stays in place and nothing half-written is uploaded.
        ultimo = Resultado::ArchivoIncompleto;
        ultimoDetalle = QStringLiteral("el archivo '%1' no se pudo escribir completo (%2)")
                            .arg(m.cArchivoFTP, exportado.error);
        avance.Pitido();
    }
    avance.MostrarLabel3(false);
    m.oConexion.Close();

    if (ultimo == Resultado::Enviado)
        spdlog::info("Envío: {} líneas de {} productos, {} bytes, subido a '{}'", exportado.escritos,
                     exportado.total, exportado.bytes, (m.cDirectorioFTP + stNombreArchivo).toStdString());
    else
        spdlog::error("Envío: {} líneas de {} productos; no se publicó: {}", exportado.escritos,
                      exportado.total, ultimoDetalle.toStdString());
}

void clsDeProductos::SubirArchivo() {
    const Modulo& m = modulo();
    blMostrarAvance = true;
    if (!mFTP.OpenConnection(m.cURLFTP, m.cUsuarioFTP, m.cClaveFTP)) {
        ultimo = Resultado::SinConexionFtp;
        ultimoDetalle = mFTP.GetLastErrorMessage().trimmed();
        avance.Pitido();
        return;
    }
    QString remoto = m.cDirectorioFTP + stNombreArchivo;
    mFTP.DeleteFTPFile(remoto);
    QString local = m.cCarpeta + QLatin1Char('/') + stNombreArchivo;
    if (mFTP.FTPUploadFile(local, remoto)) {
        ultimo = Resultado::Enviado;
    } else {
        ultimo = Resultado::SubidaFallida;
        ultimoDetalle = mFTP.GetLastErrorMessage().trimmed();
    }
}

void clsDeProductos::mFTP_FileTransferProgress(qint32 lCurrentBytes, qint32 lTotalBytes) {
    if (!blMostrarAvance)
        return;
    // Every chunk raises an event; the label is only rewritten as often as it can be read.
    if (lTotalBytes >= lCurrentBytes && (lCurrentBytes == lTotalBytes || ritmoFtp.toca()))
        avance.Label5(QStringLiteral("De '") + stNombreArchivo + QStringLiteral("': bytes copiados ") +
                      conMiles(lCurrentBytes) + QStringLiteral(" de ") + conMiles(lTotalBytes));
    avance.ProcesarEventos();
}
