// The send scheduler: the countdown on the one-second timer and the send itself, which runs on a thread
// of its own so that the window answers whatever the database or the server makes it wait for.

#include "export/UltimoEnvio.h"
#include "export/clsDeProductos.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"
#include "shell/clsInicio.h"
#include "shell/frmInicial.h"

#include <QApplication>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <chrono>
#include <future>
#include <memory>
#include <spdlog/spdlog.h>

Restante TiempoRestante(qint16 nIntervalo, qint16 inMinutos, qint16 inSegundos) {
    // Seconds counted, as 16 bits hold them up to 546 minutes; longer intervals count on in 32 bits
    // so that every interval the settings accept runs to its end.
    const qint32 transcurrido = qint32(inMinutos) * 60 + inSegundos;
    qint32 faltan = qint32(nIntervalo) * 60 - transcurrido;
    // A byte each: an interval lowered below the time counted shows 0 0 0 (the send starts at this very
    // tick), and more than 255 hours show as 255 h 59 min 59 s until they fall below.
    faltan = qBound(0, faltan, 255 * 3600 + 59 * 60 + 59);
    const qint32 horas = faltan / 3600;
    const qint32 resto = faltan - horas * 3600;
    return {quint8(horas), quint8(resto / 60), quint8(resto % 60)};
}

Restante frmInicial::TiempoRestante() const {
    return ::TiempoRestante(modulo().nIntervalo, inMinutos, inSegundos);
}

void frmInicial::Timer1_Timer() {
    ++inSegundos;
    if (inSegundos >= 60) {
        inSegundos = 0;
        ++inMinutos;
    }
    const Restante faltan = TiempoRestante();
    lblInfo->setText(QStringLiteral("%1 hors. %2 min. %3 segs.")
                         .arg(faltan.horas)
                         .arg(faltan.minutos)
                         .arg(faltan.segundos));
    QCoreApplication::processEvents();
    if (inMinutos >= modulo().nIntervalo) {
        inSegundos = 0;
        inMinutos = 0;
        EnviaProductos(clsDeProductos::Modo::programado);
    }
}

void frmInicial::cmdLeerAhora_Click() {
    EnviaProductos(clsDeProductos::Modo::ahora);
}

void frmInicial::MostrarUltimoEnvio(bool avisar) {
    // From the log, not from this window's own send: a scheduled `enviar` of the same folder counts too.
    const std::optional<UltimoEnvio> envio = leerUltimoEnvio(modulo().cCarpeta);
    const QString linea = textoDeEnvio(envio);
    lblUltimoEnvio->setText(linea);
    // Once for each trouble, never at every send while it lasts: the shop sees the tip meanwhile.
    using Fin = UltimoEnvio::Fin;
    const std::optional<Fin> fin = envio ? std::optional(envio->fin) : std::nullopt;
    const bool enElServidor = ultimoFin == Fin::publicado || ultimoFin == Fin::sinCambios;
    const bool aviso =
        (fin == Fin::fallido && enElServidor) || (fin == Fin::retenido && ultimoFin != Fin::retenido);
    clsInicio().MostrarEnvio(*this, linea, avisar && aviso);
    if (fin)
        ultimoFin = fin;
}

void frmInicial::EnviaProductos(clsDeProductos::Modo modo) {
    if (envio)
        return;
    lblInfo->clear();
    setEnabled(false);
    Timer1->stop();
    inSegundos = 0;
    interrupcion = false;
    preguntado = false;
    // The clsDeProductos lives on the send's thread, so that its session's events reach it there; it is
    // released there too, which closes the FTP connection before the window hears of the end.
    envio.reset(QThread::create([this, modo] { clsDeProductos(*this).CrearArchivo(modo); }));
    QThread* hilo = envio.get();
    connect(hilo, &QThread::finished, this, [this, hilo] {
        if (envio.get() != hilo) // stopped and waited for already
            return;
        EnvioTerminado();
        if (terminarAlAcabar)
            Descargar();
    });
    envio->start();
}

void frmInicial::EnvioTerminado() {
    envio->wait();
    envio.reset();
    // Whoever just answered the question needs no balloon about it.
    MostrarUltimoEnvio(!preguntado);
    setEnabled(true);
    if (modulo().nIntervalo >= 1)
        Timer1->start();
}

void frmInicial::DetenerEnvio() {
    if (!envio)
        return;
    interrupcion = true;
    envio->wait();
    EnvioTerminado();
}

void frmInicial::Terminar() {
    if (!envio) {
        Descargar();
        return;
    }
    spdlog::info("Se pidió cerrar el programa durante un envío: se detiene el envío");
    terminarAlAcabar = true;
    interrupcion = true;
}

void frmInicial::EnLaVentana(std::function<void()> accion) {
    if (QThread::currentThread() == thread())
        accion();
    else
        QMetaObject::invokeMethod(this, std::move(accion), Qt::QueuedConnection);
}

void frmInicial::MostrarLabel3(bool visible) {
    EnLaVentana([this, visible] { etiquetaLabel3->setVisible(visible); });
}

void frmInicial::Label3(const QString& texto) {
    EnLaVentana([this, texto] { etiquetaLabel3->setText(texto); });
}

void frmInicial::Label5(const QString& texto) {
    EnLaVentana([this, texto] { etiquetaLabel5->setText(texto); });
}

void frmInicial::ProcesarEventos() {
    if (QThread::currentThread() == thread())
        QCoreApplication::processEvents();
}

void frmInicial::Pitido() {
    EnLaVentana([] { QApplication::beep(); });
}

bool frmInicial::PublicarRetenido(const QString& porQue) {
    // Shared with the question, which may still be waiting in the window's queue when the send gives up.
    struct Respuesta {
        std::promise<bool> dada;
        std::atomic<bool> esperada = true;
    };
    auto respuesta = std::make_shared<Respuesta>();
    std::future<bool> si = respuesta->dada.get_future();
    EnLaVentana([this, porQue, respuesta] {
        bool publicar = false;
        if (respuesta->esperada) {
            preguntado = true;
            publicar = Pregunta(QStringLiteral("El catálogo tiene %1: menos de la mitad.\r\n\r\n"
                                               "¿Publicar de todos modos?")
                                    .arg(porQue),
                                windowTitle(), true);
        }
        respuesta->dada.set_value(publicar);
    });
    while (si.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready)
        if (interrupcion) {
            respuesta->esperada = false;
            return false;
        }
    return si.get();
}
