#pragma once
// The main window. Loading it starts the program and unloading it ends it; between the two it lives
// mostly hidden, as an icon in the notification area, sending the product file on its timer.

#include "export/Avance.h"
#include "export/UltimoEnvio.h"
#include "export/clsDeProductos.h"
#include "shell/Formulario.h"

#include <QPointer>
#include <QStringList>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class MSFlexGrid;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QThread;
class QTimer;
class QToolButton;
class QWidget;
class frmDescripcion;

// Time left before the next automatic send.
struct Restante {
    quint8 horas;
    quint8 minutos;
    quint8 segundos;
};
Restante TiempoRestante(qint16 nIntervalo, qint16 inMinutos, qint16 inSegundos);

class frmInicial : public Formulario, public Avance {
    Q_OBJECT

public:
    explicit frmInicial(QWidget* parent = nullptr);
    ~frmInicial() override;

    // The window's part of the load, once the point-of-sale connection and the settings are in place:
    // caption, computer and database names, tray icon, autostart, product grid, first tab. `ktfa`: the
    // command line's "-ktfa", which opens the window normal instead of minimized.
    void Cargar(bool ktfa);
    // Shows the window in the state the load left: minimized, which sends it to the notification
    // area, unless the load made it normal.
    void MostrarAlCargar();
    // The settings just read, on the window: boxes 2 to 6 of the configuration, the timer and the
    // countdown label.
    void MostrarConfiguracion();

    // Makes tab `pestana` the only visible one, and so the current one.
    void MostrarPestana(quint8 pestana);
    // Starts one export and upload on a thread of its own and returns: the window keeps answering, takes
    // no input and keeps the timer still until the send's end comes back to it. `modo`: the timer's send
    // or "Enviar ahora".
    void EnviaProductos(clsDeProductos::Modo modo);
    bool EnviandoProductos() const { return envio != nullptr; }
    // The last send's outcome, read from the log, below the countdown and on the icon; `avisar` raises
    // a balloon when a send failed after one that published, or was held after one that was not.
    void MostrarUltimoEnvio(bool avisar);
    Restante TiempoRestante() const;
    // Ends the program: a send under way is stopped and waited for (see Avance::Interrumpido), then the
    // icon leaves the notification area, the connection is closed and the components are released. Runs
    // once.
    void Descargar();
    // A request to end the program (cmdTerminar, Alt+F4, the task manager, a signal) that keeps the window
    // answering: a send under way is asked to stop, and the program ends when it has.
    void Terminar();

    // The send's progress: from the send's thread, handed to the window's, in the order they come.
    void MostrarLabel3(bool visible) override;
    void Label3(const QString& texto) override;
    void Label5(const QString& texto) override;
    // On the window's thread, lets it process waiting events; from the send's thread there is nothing to
    // do, since the window's own thread is free.
    void ProcesarEventos() override;
    void Pitido() override;
    bool Interrumpido() const override { return interrupcion; }
    // Asks on the window's thread, while the send's thread waits for the answer or for a request to end
    // the program, which answers No.
    bool PublicarRetenido(const QString& porQue) override;

    bool blPrimeraVez = true;
    qint16 inSegundos = 0;
    qint16 inMinutos = 0;

signals:
    // The window was unloaded: the program ends.
    void descargada();

protected:
    bool event(QEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    bool eventFilter(QObject* objeto, QEvent* evento) override;
#ifdef Q_OS_WIN
    // Tells Windows' close requests apart, which Qt makes one.
    bool nativeEvent(const QByteArray& tipo, void* mensaje, qintptr* resultado) override;
#endif

private slots:
    // The configuration tab's "Cancelar", which the list tabs' ways back share: tab 0, and the timer
    // running again when an interval is set.
    void cmdCancelar_Click();
    void Timer1_Timer();
    void cmdLeerAhora_Click();
    void cmdTerminar_Click();
    void cmdMinimizar_Click();
    void cmdConfigurar_Click();

private:
    void crearControles();
    // The three tabs work on their controls; the window connects their requests (a tab shown, the
    // timer stopped, back to "Principal") to its own.
    void conectarPestanas();
    QWidget* crearPrincipal();
    QWidget* crearConfiguracion();
    QWidget* crearListaDeProductos();
    QWidget* crearCamposAExportar();
    void Form_Activate();
    bool Form_KeyDown(qint16 KeyCode, qint16 Shift);
    void Form_Unload();
    void Form_Resize();
    void PrepararRejilla();
    void ActivarTimer1SiHayIntervalo();
    // The close box's way: to the notification area.
    void Ocultar();
    // The end of a send, on the window's thread: the outcome shown, the window and the timer back on.
    void EnvioTerminado();
    // Stops a send under way and waits for its end.
    void DetenerEnvio();
    // Runs `accion` on the window's thread: now when called there, otherwise queued.
    void EnLaVentana(std::function<void()> accion);

    QLabel* pctTitulo = nullptr;
    QLabel* pctSkin = nullptr;
    QTabWidget* stbTabs = nullptr;
    QTimer* Timer1 = nullptr;

    QWidget* Picture2 = nullptr;
    QLabel* lblInfo = nullptr;
    QLabel* lblUltimoEnvio = nullptr;
    QLabel* etiquetaLabel3 = nullptr;
    QLabel* etiquetaLabel5 = nullptr;
    QPushButton* cmdLeerAhora = nullptr;
    QToolButton* cmdTerminar = nullptr;
    QToolButton* cmdMinimizar = nullptr;
    QPushButton* cmdConfigurar = nullptr;
    QPushButton* cmdListaProds = nullptr;
    QPushButton* cmdCampos = nullptr;

    QWidget* Picture1 = nullptr;
    std::array<QLineEdit*, 7> txtDato{};
    QLabel* Label2 = nullptr;
    QPushButton* cmdGrabar = nullptr;
    QPushButton* cmdCancelar = nullptr;

    QLabel* Label4 = nullptr;
    MSFlexGrid* mfgProds = nullptr;
    QPushButton* cmdRegresar = nullptr;

    QListWidget* lstCampos = nullptr;
    QPushButton* cmdGrabar2 = nullptr;
    QPushButton* cmdCancelar2 = nullptr;

    QPointer<frmDescripcion> descripcion;
    bool cargada = false;
    bool cierrePropio = false;
    bool descargado = false;
    std::unique_ptr<QThread> envio; // the send under way
    std::atomic<bool> interrupcion = false;
    bool terminarAlAcabar = false;
    std::optional<UltimoEnvio::Fin> ultimoFin; // of the outcome shown; none before the first send
    bool preguntado = false;                   // the send under way asked whether to publish
};
