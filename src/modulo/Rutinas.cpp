#include "modulo/Rutinas.h"

#include "components/CajaDeConsola.h"
#include "modulo/Modulo.h"

#include <exception>
#include <spdlog/spdlog.h>

namespace {

CajaDelSistema& cajaDelSistema() {
    static CajaDelSistema caja;
    return caja;
}

// The plain "Error" box shown when the skinned one fails; its answer counts as no answer.
quint8 fallaLaCaja(qint32 numero, const QString& descripcion) {
    spdlog::error("El cuadro de mensaje falló: {} {}", numero, descripcion.toStdString());
    MsgBoxDelSistema(QStringLiteral("Error %1, %2").arg(numero).arg(descripcion), estilo::vbCritical,
                     QStringLiteral("Error"));
    return 0;
}

} // namespace

void ponerCajaDelSistema(CajaDelSistema caja) {
    cajaDelSistema() = std::move(caja);
}

quint8 MsgBoxDelSistema(const QString& texto, qint32 estilo, const QString& titulo) {
    const CajaDelSistema& caja = cajaDelSistema();
    return caja ? caja(texto, estilo, titulo) : cajaDeConsola(texto, estilo, titulo);
}

void AvisoDeCreacion(qint32 numero, const QString& descripcion, const QString& clase,
                     const QString& libreria) {
    const QString progId = libreria + QLatin1Char('.') + clase;
    spdlog::error("No se puede crear {}: {} {}", progId.toStdString(), numero, descripcion.toStdString());
    MsgBoxDelSistema(
        QStringLiteral("Error nº %1, %2\r\nIntentanto crear \"%3\"").arg(numero).arg(descripcion, progId),
        estilo::vbCritical, QStringLiteral("Alerta"));
}

bool CreaObjetoComponente(std::unique_ptr<Componente>& objeto, const QString& clase,
                          const QString& libreria) {
    QString error;
    objeto = crearComponente(libreria + QLatin1Char('.') + clase, &error);
    if (objeto)
        return true;
    // 429: the automation runtime's "cannot create object".
    AvisoDeCreacion(429, error, clase, libreria);
    return false;
}

quint8 Mensaje(const QString& texto, qint32 botones, const QString& titulo) {
    Utilerias* utilerias = modulo().oUtilerias.get();
    if (!utilerias)
        return fallaLaCaja(91, QStringLiteral("Variable de objeto no establecida"));
    try {
        utilerias->ElMenu = modulo().frmInicial;
        QString mensaje = texto;
        QString elTitulo = titulo;
        qint32 elEstilo = botones;
        quint8 extra = 0;
        return utilerias->MsgBoxSkn(mensaje, elEstilo, elTitulo, extra);
    } catch (const std::exception& e) {
        // 440: an automation error raised by the component.
        return fallaLaCaja(440, QString::fromLocal8Bit(e.what()));
    }
}

bool Pregunta(const QString& texto, const QString& titulo, bool noPorDefecto) {
    const qint32 botones =
        estilo::vbYesNo + estilo::vbQuestion + (noPorDefecto ? estilo::vbDefaultButton2 : 0);
    return Mensaje(texto, botones, titulo) == estilo::vbYes;
}

bool HayParametroKtfa(const QStringList& argumentos) {
    return argumentos.join(QLatin1Char(' ')).contains(QLatin1String("-ktfa"), Qt::CaseSensitive);
}
