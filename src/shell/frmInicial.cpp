#include "shell/frmInicial.h"

#include "components/Efectos.h"
#include "config/PestanaDeConfiguracion.h"
#include "editors/EditorDeCampos.h"
#include "editors/EditorDeProductos.h"
#include "editors/MSFlexGrid.h"
#include "export/UltimoEnvio.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"
#include "shell/clsInicio.h"
#include "shell/frmDescripcion.h"
#include "winapi/teclas.h"
#include "winapi/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <spdlog/spdlog.h>

namespace {
const QString tituloDeDiseno = QStringLiteral("Actualización de productos en línea");

qint16 botonesDe(Qt::MouseButtons botones) {
    return qint16((botones & Qt::LeftButton ? 1 : 0) | (botones & Qt::RightButton ? 2 : 0) |
                  (botones & Qt::MiddleButton ? 4 : 0));
}

// The autostart entry names the executable alone, so a program run on another folder (--carpeta)
// would start on the wrong one at logon: only a program that runs on its own folder registers itself.
bool correEnSuCarpeta() {
    return QFileInfo(modulo().cCarpeta) == QFileInfo(QCoreApplication::applicationDirPath());
}
} // namespace

frmInicial::frmInicial(QWidget* parent) : Formulario(parent) {
    setObjectName(QStringLiteral("frmInicial"));
    setWindowTitle(tituloDeDiseno);
    crearControles();
    EnterPulsaBotones(*this);
    conectarPestanas();
    TamanoDeDiseno(9750, 6885);
    Centrar();
    // Designed to open minimized: shown that way it goes straight to the notification area.
    setWindowState(Qt::WindowMinimized);
    // The window sees every key before the control that has the focus.
    qApp->installEventFilter(this);
    blPrimeraVez = true;
    inSegundos = 0;
#ifdef Q_OS_WIN
    // A window of the system's from the start, shown or not: Windows sends the task manager's close and
    // the end of the session to the program's windows.
    winId();
#endif
}

frmInicial::~frmInicial() {
    // The send's thread speaks to this window until it ends.
    if (envio) {
        interrupcion = true;
        envio->wait();
    }
    qApp->removeEventFilter(this);
    if (modulo().frmInicial == this)
        modulo().frmInicial = nullptr;
    delete descripcion;
}

void frmInicial::conectarPestanas() {
    auto* configuracion = new PestanaDeConfiguracion(txtDato, cmdCancelar, this);
    connect(cmdGrabar, &QPushButton::clicked, configuracion, &PestanaDeConfiguracion::cmdGrabar_Click);
    connect(configuracion, &PestanaDeConfiguracion::volverAPrincipal, this, &frmInicial::cmdCancelar_Click);
    connect(configuracion, &PestanaDeConfiguracion::configuracionLeida, this,
            &frmInicial::MostrarConfiguracion);

    auto* productos = new EditorDeProductos(mfgProds, *this, this);
    connect(cmdListaProds, &QPushButton::clicked, productos, &EditorDeProductos::cmdListaProds_Click);
    connect(productos, &EditorDeProductos::detenerReloj, Timer1, &QTimer::stop);
    connect(productos, &EditorDeProductos::mostrarPestana, this, &frmInicial::MostrarPestana);

    auto* campos = new EditorDeCampos(lstCampos, *this, this);
    connect(cmdCampos, &QPushButton::clicked, campos, &EditorDeCampos::cmdCampos_Click);
    connect(cmdGrabar2, &QPushButton::clicked, campos, &EditorDeCampos::cmdGrabar2_Click);
    connect(campos, &EditorDeCampos::detenerReloj, Timer1, &QTimer::stop);
    connect(campos, &EditorDeCampos::mostrarPestana, this, &frmInicial::MostrarPestana);
    connect(campos, &EditorDeCampos::volverAPrincipal, this, &frmInicial::cmdCancelar_Click);
}

void frmInicial::Cargar(bool ktfa) {
    const Modulo& m = modulo();
    setWindowTitle(tituloDeDiseno.trimmed() + m.cVersion);

    Label2->setText(m.oEquipo ? m.oEquipo->NetName() : QString());
    txtDato[0]->setText(m.oBasesDD ? m.oBasesDD->cMiBase : QString());
    txtDato[1]->setText(QString::number(m.nIntervalo));

    clsInicio inicio;
    inicio.PonerSystray(*this);
    MostrarUltimoEnvio(false);
    // Sends of other processes on this folder (a scheduled `enviar`) show as this window's own do.
    auto* bitacora = new VigilanteDeBitacora(m.cCarpeta, this);
    connect(bitacora, &VigilanteDeBitacora::cambio, this, [this] { MostrarUltimoEnvio(true); });
    if (correEnSuCarpeta()) {
        QString archivo = QLatin1Char('\\') + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        inicio.SiRegistrado(archivo);
    }
    // A program with nothing configured shows itself.
    if (m.nIntervalo == 0)
        inicio.Restaurar(*this);

    PrepararRejilla();
    stbTabs->setCurrentIndex(0);
    if (ktfa)
        setWindowState(Qt::WindowNoState);
    if (m.oControles)
        m.oControles->LaCeldaFG(mfgProds, mfgProds->BackColor(), mfgProds->ForeColor(), true);
    Label4->setText(QStringLiteral("INSERT:agregar producto     SUPR:quitar producto\r\n"
                                   "     Si la lista queda vacía se enviarán TODOS los productos"));
}

void frmInicial::PrepararRejilla() {
    mfgProds->setCols(3);
    mfgProds->setColWidth(0, 300);
    mfgProds->setColWidth(1, 2500);
    mfgProds->setColWidth(2, 6000);
    mfgProds->setColAlignment(1, MSFlexGrid::flexAlignLeftCenter);
    mfgProds->setColAlignment(2, MSFlexGrid::flexAlignLeftCenter);
    mfgProds->setTextMatrix(0, 1, QStringLiteral("Producto"));
    mfgProds->setTextMatrix(0, 2, QStringLiteral("Descripción"));
}

void frmInicial::MostrarAlCargar() {
    cargada = true;
    if (windowState() & Qt::WindowMinimized)
        Form_Resize();
    else
        show();
}

void frmInicial::MostrarConfiguracion() {
    const Modulo& m = modulo();
    txtDato[2]->setText(m.cArchivoFTP);
    txtDato[3]->setText(m.cUsuarioFTP);
    txtDato[4]->setText(m.cURLFTP);
    txtDato[5]->setText(m.cClaveFTP);
    txtDato[6]->setText(m.cDirectorioFTP);
    if (m.nIntervalo >= 1) {
        Timer1->start();
    } else {
        Timer1->stop();
        lblInfo->setText(QStringLiteral("Sin definir"));
    }
}

void frmInicial::MostrarPestana(quint8 pestana) {
    stbTabs->setTabVisible(pestana, true);
    for (int i = 0; i < stbTabs->count(); ++i)
        if (i != pestana)
            stbTabs->setTabVisible(i, false);
}

void frmInicial::ActivarTimer1SiHayIntervalo() {
    if (modulo().nIntervalo >= 1)
        Timer1->start();
}

void frmInicial::Descargar() {
    DetenerEnvio();
    cierrePropio = true;
    close();
}

// Being shown counts as the first activation too: a desktop without a window manager (or one that
// keeps a window from taking the focus) never activates it, and the skin and the one tab would wait.
bool frmInicial::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate || evento->type() == QEvent::Show)
        Form_Activate();
    return Formulario::event(evento);
}

void frmInicial::Form_Activate() {
    if (!blPrimeraVez)
        return;
    std::unique_ptr<Efectos> efectos;
    CreaObjeto(efectos, QStringLiteral("Efectos"), QStringLiteral("nodex"));
    blPrimeraVez = false;
    // Without its skin (the component has said why) the window is still usable in the desktop's colours.
    if (efectos)
        efectos->PintarSkin(qint32(ventanas::hWndDe(pctSkin)), this, false);
    efectos.reset();
    MostrarPestana(0);
}

void frmInicial::changeEvent(QEvent* evento) {
    Formulario::changeEvent(evento);
    if (evento->type() == QEvent::WindowStateChange)
        Form_Resize();
}

void frmInicial::Form_Resize() {
    if (!cargada)
        return;
    if (windowState() & Qt::WindowMinimized) {
        if (shell_notify::BandejaDisponible())
            hide();
        else if (!isVisible())
            showMinimized();
        clsInicio().PonerSystray(*this);
    } else if (!(windowState() & Qt::WindowMaximized)) {
        show();
    }
}

// The close box, the window menu and any other close request from outside only hide the window (on
// Windows the requests that end it never get here: see nativeEvent); the program's own close and the end
// of the desktop session pass.
void frmInicial::closeEvent(QCloseEvent* evento) {
    if (!cierrePropio && !qApp->isSavingSession()) {
        evento->ignore();
        Ocultar();
        return;
    }
    evento->accept();
    if (!descargado) {
        descargado = true;
        DetenerEnvio();
        Form_Unload();
        emit descargada();
    }
}

void frmInicial::Ocultar() {
    if (isMinimized())
        Form_Resize(); // a minimized window shown in the task bar: no state change would come
    else
        setWindowState(windowState() | Qt::WindowMinimized);
}

void frmInicial::Form_Unload() {
    spdlog::info("Fin del programa");
    Timer1->stop();
    // The description window stores its placement through the settings component, still there now.
    if (descripcion)
        descripcion->close();
    clsInicio().RemoverSystray();
    Modulo& m = modulo();
    if (m.oBasesDD)
        m.oBasesDD->CierraBdD(m.oConexion);
    m.oKtfa.reset();
    m.oBasesDD.reset();
    m.oEquipo.reset();
    m.oUtilerias.reset();
    m.oArchivos.reset();
    m.oControles.reset();
    m.oRegistro.reset();
}

// A window greyed out by a send takes no keys: Qt drops them at its controls, after this filter.
bool frmInicial::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() == QEvent::KeyPress && isEnabled()) {
        auto* control = qobject_cast<QWidget*>(objeto);
        const auto* tecla = static_cast<QKeyEvent*>(evento);
        if (control != nullptr && control->window() == this)
            return Form_KeyDown(CodigoDeTecla(*tecla), EstadoShift(tecla->modifiers()));
    }
    return Formulario::eventFilter(objeto, evento);
}

bool frmInicial::Form_KeyDown(qint16 KeyCode, qint16 Shift) {
    if (KeyCode == tecla::vbKeyF1) {
        if (!descripcion)
            descripcion = new frmDescripcion;
        descripcion->show();
        descripcion->raise();
        descripcion->activateWindow();
        return true;
    }
    if (KeyCode == tecla::vbKeyF4 && Shift == tecla::vbAltMask) {
        Terminar();
        return true;
    }
    return false;
}

void frmInicial::mouseDoubleClickEvent(QMouseEvent* evento) {
    Formulario::mouseDoubleClickEvent(evento);
    if (childAt(evento->position().toPoint()) != nullptr || !modulo().oArchivos)
        return;
    QString ruta = modulo().cArchivoINI;
    modulo().oArchivos->AbreDocumento(ruta, 0, 1);
}

// The notification icon's clicks come as mouse moves (see clsInicio); a real move counts only over
// the window's own background, as the controls keep theirs.
void frmInicial::mouseMoveEvent(QMouseEvent* evento) {
    Formulario::mouseMoveEvent(evento);
    const QPointF posicion = evento->position();
    if (evento->spontaneous() && childAt(posicion.toPoint()) != nullptr)
        return;
    const double escala = ScaleMode == vbPixels ? 1.0 : TwipsPorPixelX();
    float x = float(posicion.x() * escala);
    const float y = float(posicion.y() * (ScaleMode == vbPixels ? 1.0 : TwipsPorPixelY()));
    clsInicio().MouseMove(*this, botonesDe(evento->buttons()), EstadoShift(evento->modifiers()), x, y);
}

void frmInicial::cmdTerminar_Click() {
    if (Pregunta(QStringLiteral("¿Está seguro de cerrar este programa?"), QStringLiteral("Cerrar conexión"),
                 true))
        Terminar();
}

void frmInicial::cmdMinimizar_Click() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void frmInicial::cmdConfigurar_Click() {
    Timer1->stop();
    MostrarPestana(1);
}

void frmInicial::cmdCancelar_Click() {
    MostrarPestana(0);
    ActivarTimer1SiHayIntervalo();
}
