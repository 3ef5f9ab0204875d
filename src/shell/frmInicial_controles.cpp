// The controls of the main window and where they sit.

#include "editors/MSFlexGrid.h"
#include "resources/Recursos.h"
#include "shell/frmInicial.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
template <class Control, class... Argumentos> Control* nuevo(const char* nombre, Argumentos&&... argumentos) {
    auto* control = new Control(std::forward<Argumentos>(argumentos)...);
    control->setObjectName(QString::fromLatin1(nombre));
    return control;
}

QLabel* etiqueta(const char* texto) {
    return new QLabel(QString::fromUtf8(texto));
}

QPushButton* boton(const char* nombre, const char* texto) {
    return nuevo<QPushButton>(nombre, QString::fromUtf8(texto));
}

QToolButton* botonDeImagen(const char* nombre, const char* imagen, const char* ayuda) {
    auto* control = nuevo<QToolButton>(nombre);
    control->setIcon(QIcon(QStringLiteral(":/imagenes/") + QString::fromLatin1(imagen)));
    control->setIconSize(QSize(32, 32));
    control->setAutoRaise(true);
    control->setToolTip(QString::fromUtf8(ayuda));
    return control;
}

QFrame* contenedor(const char* nombre) {
    auto* marco = nuevo<QFrame>(nombre);
    marco->setFrameShape(QFrame::StyledPanel);
    marco->setFrameShadow(QFrame::Sunken);
    return marco;
}

// A row of buttons at the foot of a tab, pushed to its right.
QHBoxLayout* pieDeBotones(std::initializer_list<QWidget*> botones) {
    auto* fila = new QHBoxLayout;
    fila->addStretch();
    for (QWidget* b : botones)
        fila->addWidget(b);
    return fila;
}
} // namespace

void frmInicial::crearControles() {
    iniciarRecursos();
    setWindowIcon(IconoDelPrograma());

    pctTitulo = nuevo<QLabel>("pctTitulo");
    pctTitulo->setText(QStringLiteral("<img src=':/imagenes/catalogo-32.png' style='vertical-align: middle'>"
                                      "&nbsp;&nbsp;Actualización de productos en línea"));
    pctTitulo->setStyleSheet(QStringLiteral(
        "QLabel#pctTitulo { color: white; font-size: 14pt; font-weight: bold; padding: 4px 10px;"
        " border-radius: 4px; background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #1d5f9c, stop:1 "
        "#4b93d3); }"));

    pctSkin = nuevo<QLabel>("pctSkin", this);
    pctSkin->setPixmap(QPixmap(QStringLiteral(":/imagenes/skin.png")));
    pctSkin->hide();

    Timer1 = nuevo<QTimer>("Timer1", this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &frmInicial::Timer1_Timer);

    stbTabs = nuevo<QTabWidget>("stbTabs");
    stbTabs->addTab(crearPrincipal(), QStringLiteral("Principal"));
    stbTabs->addTab(crearConfiguracion(), QStringLiteral("Configuración"));
    stbTabs->addTab(crearListaDeProductos(), QStringLiteral("Lista de productos"));
    stbTabs->addTab(crearCamposAExportar(), QStringLiteral("Campos a exportar"));

    // Whatever brings the product list tab forward puts the cursor in its grid.
    connect(stbTabs, &QTabWidget::currentChanged, this, [this](int pestana) {
        if (pestana == 2)
            mfgProds->setFocus();
    });

    auto* ventana = new QVBoxLayout(this);
    ventana->addWidget(pctTitulo);
    ventana->addWidget(stbTabs, 1);
}

QWidget* frmInicial::crearPrincipal() {
    auto* pagina = new QWidget;

    Picture2 = contenedor("Picture2");
    auto* titulo = nuevo<QLabel>("Label1", QStringLiteral("Actualización de productos"));
    QFont grande = titulo->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.5);
    grande.setBold(true);
    titulo->setFont(grande);
    titulo->setAlignment(Qt::AlignCenter);

    auto* faltan = nuevo<QLabel>("Label6", QStringLiteral("Para envío de productos faltan:"));
    lblInfo = nuevo<QLabel>("lblInfo");
    QFont negrita = lblInfo->font();
    negrita.setBold(true);
    lblInfo->setFont(negrita);
    auto* cuentaAtras = new QHBoxLayout;
    cuentaAtras->addStretch();
    cuentaAtras->addWidget(faltan);
    cuentaAtras->addWidget(lblInfo);
    cuentaAtras->addStretch();
    lblUltimoEnvio = nuevo<QLabel>("lblUltimoEnvio");
    lblUltimoEnvio->setAlignment(Qt::AlignCenter);
    lblUltimoEnvio->setWordWrap(true);

    etiquetaLabel3 = nuevo<QLabel>("Label3");
    etiquetaLabel3->setAlignment(Qt::AlignCenter);
    etiquetaLabel3->setWordWrap(true);
    etiquetaLabel3->hide();
    etiquetaLabel5 = nuevo<QLabel>("Label5");
    etiquetaLabel5->setAlignment(Qt::AlignCenter);
    etiquetaLabel5->setWordWrap(true);

    auto* dentro = new QVBoxLayout(Picture2);
    dentro->addSpacing(12);
    dentro->addWidget(titulo);
    dentro->addSpacing(18);
    dentro->addLayout(cuentaAtras);
    dentro->addWidget(lblUltimoEnvio);
    dentro->addSpacing(12);
    dentro->addWidget(etiquetaLabel3);
    dentro->addWidget(etiquetaLabel5);
    dentro->addStretch();

    cmdLeerAhora = boton("cmdLeerAhora", "Enviar ahora");
    cmdConfigurar = boton("cmdConfigurar", "Configurar");
    cmdListaProds = boton("cmdListaProds", "Lista de productos");
    cmdCampos = boton("cmdCampos", "Lista de campos");
    cmdMinimizar =
        botonDeImagen("cmdMinimizar", "minimizar.png", "Ocultar ventana, enviándola a la barra de tareas");
    cmdTerminar = botonDeImagen("cmdTerminar", "terminar.png", "Cerrar el programa");
    connect(cmdLeerAhora, &QPushButton::clicked, this, &frmInicial::cmdLeerAhora_Click);
    connect(cmdConfigurar, &QPushButton::clicked, this, &frmInicial::cmdConfigurar_Click);
    connect(cmdMinimizar, &QToolButton::clicked, this, &frmInicial::cmdMinimizar_Click);
    connect(cmdTerminar, &QToolButton::clicked, this, &frmInicial::cmdTerminar_Click);

    auto* botones = new QHBoxLayout;
    for (QPushButton* b : {cmdLeerAhora, cmdConfigurar, cmdListaProds, cmdCampos})
        botones->addWidget(b);
    botones->addStretch();
    botones->addWidget(cmdMinimizar);
    botones->addWidget(cmdTerminar);

    auto* columna = new QVBoxLayout(pagina);
    columna->addWidget(Picture2, 1);
    columna->addLayout(botones);
    return pagina;
}

QWidget* frmInicial::crearConfiguracion() {
    auto* pagina = new QWidget;
    Picture1 = contenedor("Picture1");

    for (int i = 0; i < 7; ++i)
        txtDato[i] = nuevo<QLineEdit>(qPrintable(QStringLiteral("txtDato_%1").arg(i)));
    txtDato[1]->setAlignment(Qt::AlignRight);
    txtDato[1]->setMaxLength(4);
    Label2 = nuevo<QLabel>("Label2");
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* rejilla = new QGridLayout(Picture1);
    rejilla->setColumnStretch(1, 1);
    rejilla->setColumnStretch(3, 1);
    rejilla->addWidget(etiqueta("Nombre del equipo:"), 0, 0);
    rejilla->addWidget(Label2, 0, 1, 1, 3);
    rejilla->addWidget(etiqueta("Base de datos:"), 1, 0);
    rejilla->addWidget(txtDato[0], 1, 1);
    rejilla->addWidget(etiqueta("Intervalo (minutos):"), 1, 2);
    rejilla->addWidget(txtDato[1], 1, 3);
    rejilla->addWidget(etiqueta("URL del FTP:"), 2, 0, 1, 4);
    rejilla->addWidget(txtDato[4], 3, 0, 1, 4);
    rejilla->addWidget(etiqueta("Directorio o carpeta del sitio FTP:"), 4, 0);
    rejilla->addWidget(txtDato[6], 4, 1, 1, 3);
    rejilla->addWidget(etiqueta("Archivo local a generar:"), 5, 0);
    rejilla->addWidget(txtDato[2], 5, 1, 1, 3);
    rejilla->addWidget(etiqueta("Usuario:"), 6, 0);
    rejilla->addWidget(txtDato[3], 6, 1);
    rejilla->addWidget(etiqueta("Contraseña:"), 6, 2);
    rejilla->addWidget(txtDato[5], 6, 3);
    rejilla->setRowStretch(7, 1);

    // The Tab key visits the boxes top to bottom, left to right.
    const int orden[] = {0, 1, 4, 6, 2, 3, 5};
    for (int i = 1; i < 7; ++i)
        setTabOrder(txtDato[orden[i - 1]], txtDato[orden[i]]);
    // Bringing the window back with this tab open puts the cursor in the first box.
    Picture1->setFocusProxy(txtDato[0]);

    cmdGrabar = boton("cmdGrabar", "Grabar");
    cmdCancelar = boton("cmdCancelar", "Cancelar");
    connect(cmdCancelar, &QPushButton::clicked, this, &frmInicial::cmdCancelar_Click);

    auto* columna = new QVBoxLayout(pagina);
    columna->addWidget(Picture1, 1);
    columna->addLayout(pieDeBotones({cmdGrabar, cmdCancelar}));
    return pagina;
}

QWidget* frmInicial::crearListaDeProductos() {
    auto* pagina = new QWidget;
    Label4 = nuevo<QLabel>("Label4");
    mfgProds = nuevo<MSFlexGrid>("mfgProds");
    mfgProds->setRows(1); // no product listed yet: the header alone
    cmdRegresar = boton("cmdRegresar", "Regresar");
    connect(cmdRegresar, &QPushButton::clicked, this, &frmInicial::cmdCancelar_Click);

    auto* columna = new QVBoxLayout(pagina);
    columna->addWidget(Label4);
    columna->addWidget(mfgProds, 1);
    columna->addLayout(pieDeBotones({cmdRegresar}));
    return pagina;
}

QWidget* frmInicial::crearCamposAExportar() {
    auto* pagina = new QWidget;
    lstCampos = nuevo<QListWidget>("lstCampos");
    auto* ayuda =
        nuevo<QLabel>("Label8", QStringLiteral("Escriba un número en el campo seleccionado para obtener un "
                                               "orden específico"));
    ayuda->setWordWrap(true);
    cmdGrabar2 = boton("cmdGrabar2", "Grabar");
    cmdCancelar2 = boton("cmdCancelar2", "Cancelar");
    connect(cmdCancelar2, &QPushButton::clicked, this, &frmInicial::cmdCancelar_Click);

    auto* columna = new QVBoxLayout(pagina);
    columna->addWidget(nuevo<QLabel>("Label7", QStringLiteral("Lista de Campos a exportar:")));
    columna->addWidget(lstCampos, 1);
    columna->addWidget(ayuda);
    columna->addLayout(pieDeBotones({cmdGrabar2, cmdCancelar2}));
    return pagina;
}
