// "Enviar ahora" in the real window (offscreen unless QT_QPA_PLATFORM says otherwise), on the demo's
// sample shop (3,000 products, a 208,830-byte file), against servers that take their time: the longest
// the window goes without processing its events (a 10 ms timer on its thread and the longest gap between
// two of its ticks), how long the send takes and how it ended.
//
//   build/bench/envio_en_ventana_bench [seconds]
//
// `seconds` (default 10) scales the waits: every reply held seconds/10, the closing reply held `seconds`,
// the products table locked for twice `seconds` in MariaDB (root, no password, on 127.0.0.1).

#include "app/Demo.h"
#include "app/LineaDeComandos.h"
#include "app/iniciar.h"
#include "base_de_bench.h"
#include "components/BasesDD.h"
#include "components/Registro.h"
#include "ftp_travieso.h"
#include "latido.h"
#include "modulo/Modulo.h"
#include "shell/frmInicial.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

const QString nombreDeBase = QStringLiteral("catalogo_bench_ventana");

struct Caso {
    QString nombre;
    QString capricho; // of the FTP server
    int bytesPorSegundo;
    int segundosDeBloqueo; // of the products table, in MariaDB; 0: the demo's SQLite catalogue
};

void medir(frmInicial& ventana, const Caso& caso) {
    ServidorFtpTravieso ftp(caso.capricho, caso.bytesPorSegundo);
    if (!ftp.listo()) {
        std::printf("%-36s servidor no disponible: %s\n", qUtf8Printable(caso.nombre),
                    qUtf8Printable(ftp.motivo().section(u'\n', 0, 0)));
        return;
    }
    Modulo& m = modulo();
    m.cURLFTP = ftp.direccion();
    m.cUsuarioFTP = ftp.usuario();
    m.cClaveFTP = ftp.contrasena();
    m.cDirectorioFTP = QStringLiteral("/");
    BasesDD& bd = *m.oBasesDD;
    const QStringList deMuestra = {bd.cRuta, bd.cMiBase, bd.cUsuario};
    if (caso.segundosDeBloqueo > 0) {
        bd.cRuta = QStringLiteral("127.0.0.1");
        bd.cMiBase = nombreDeBase;
        bd.cUsuario = QStringLiteral("root");
        QSqlQuery(QSqlDatabase::database("bench")).exec("LOCK TABLES productos WRITE");
        QTimer::singleShot(caso.segundosDeBloqueo * 1000,
                           [] { QSqlQuery(QSqlDatabase::database("bench")).exec("UNLOCK TABLES"); });
    }

    QElapsedTimer reloj;
    reloj.start();
    const Latido latido;
    ventana.findChild<QPushButton*>(QStringLiteral("cmdLeerAhora"))->click();
    if (!QTest::qWaitFor([&] { return !ventana.EnviandoProductos(); }, 600000))
        std::printf("%-36s el envío no terminó en 10 minutos\n", qUtf8Printable(caso.nombre));
    std::printf("%-36s sin procesar eventos: %5lld ms como mucho; envío %6.2f s; %s\n",
                qUtf8Printable(caso.nombre), latido.mayorMs(), double(reloj.elapsed()) / 1000.0,
                qUtf8Printable(ventana.findChild<QLabel*>(QStringLiteral("lblUltimoEnvio"))->text()));
    bd.cRuta = deMuestra[0];
    bd.cMiBase = deMuestra[1];
    bd.cUsuario = deMuestra[2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int segundos = argc > 1 ? std::max(1, QString::fromLatin1(argv[1]).toInt()) : 10;

    QTemporaryDir usuario;
    QTemporaryDir carpeta;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(usuario.path()));
    registrarComponentesDelNucleo();
    QString error;
    if (!prepararDemo(carpeta.path(), &error)) {
        std::fprintf(stderr, "tienda de muestra: %s\n", qPrintable(error));
        return 1;
    }
    const bool hayMariaDB = prepararBase(nombreDeBase, 3000);
    std::unique_ptr<QWidget> ventana(
        iniciar(leerLineaDeComandos({QStringLiteral("--carpeta"), carpeta.path()}).value()));
    auto* principal = qobject_cast<frmInicial*>(ventana.get());
    if (principal == nullptr)
        return 1;
    principal->show();

    const QString espera = QString::number(segundos / 10.0);
    const QList<Caso> casos = {
        {QStringLiteral("servidor normal"), QStringLiteral("normal"), 0, 0},
        {QStringLiteral("cada respuesta retenida %1 s").arg(espera), QStringLiteral("pausada:") + espera, 0,
         0},
        {QStringLiteral("respuesta de cierre retenida %1 s").arg(segundos),
         QStringLiteral("cierre-lento:%1").arg(segundos), 0, 0},
        {QStringLiteral("servidor que lee a 20 KB/s"), QStringLiteral("normal"), 20 * 1000, 0},
        {QStringLiteral("tabla bloqueada %1 s (MariaDB)").arg(2 * segundos), QStringLiteral("normal"), 0,
         hayMariaDB ? 2 * segundos : -1},
    };
    for (const Caso& caso : casos) {
        if (caso.segundosDeBloqueo < 0)
            std::printf("%-36s MariaDB no disponible\n", qUtf8Printable(caso.nombre));
        else
            medir(*principal, caso);
    }
    ventana.reset();
    if (hayMariaDB)
        borrarBase(nombreDeBase);
    return 0;
}
