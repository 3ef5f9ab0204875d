// The product search window on a catalogue of 100,000 products in MariaDB: how long the query blocks,
// how long the list takes to fill, the longest the window goes without looking at its events while it
// fills, and how long each keystroke in the filter takes to show its answer (the window shown, offscreen
// unless QT_QPA_PLATFORM says otherwise).
//
//   build/bench/busqueda_bench [productos]

#include "base_de_bench.h"
#include "components/BasesDDSql.h"
#include "components/BusquedaDeProductos.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString nombreDeBase = QStringLiteral("catalogo_bench_busqueda");

struct Resumen {
    double mediana;
    double maximo;
};

Resumen resumir(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint32 productos = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 100000;
    if (!prepararBase(nombreDeBase, productos))
        return 1;

    BasesDDSql bd;
    bd.cRuta = QStringLiteral("127.0.0.1");
    bd.cUsuario = QStringLiteral("root");
    ado::Connection conexion;
    if (!bd.AbrirBdD(conexion, nombreDeBase))
        return 1;

    // The same statement the search window runs.
    QElapsedTimer reloj;
    reloj.start();
    QSqlQuery consulta(conexion.baseDeDatos());
    consulta.setForwardOnly(true);
    if (!consulta.exec(QStringLiteral("SELECT Clave, Descrip FROM productos ORDER BY Clave")))
        return 1;
    const double msConsulta = double(reloj.nsecsElapsed()) / 1e6;

    DialogoDeBusqueda dialogo;
    dialogo.show();
    QApplication::processEvents();

    // A 1 ms heartbeat: the longest gap between two beats is the longest the window went deaf.
    QElapsedTimer latido;
    double msSordo = 0;
    QTimer corazon;
    corazon.setInterval(1);
    QObject::connect(&corazon, &QTimer::timeout, [&] {
        msSordo = std::max(msSordo, double(latido.nsecsElapsed()) / 1e6);
        latido.restart();
    });
    reloj.restart();
    latido.start();
    corazon.start();
    dialogo.cargar(std::move(consulta));
    if (!QTest::qWaitFor([&] { return !dialogo.cargando(); }, 600000))
        return 1;
    const double msLlenado = double(reloj.nsecsElapsed()) / 1e6;
    corazon.stop();

    // Typing, one key at a time: a code, back to nothing, then words of descriptions.
    auto* txtBuscar = dialogo.findChild<QLineEdit*>(QStringLiteral("txtBuscar"));
    std::vector<double> teclas;
    const auto teclear = [&](Qt::Key tecla, QChar letra) {
        QElapsedTimer t;
        t.start();
        if (letra.isNull())
            QTest::keyClick(txtBuscar, tecla);
        else
            QTest::keyClick(txtBuscar, letra.toLatin1());
        QApplication::processEvents(); // the list repainted with the answer
        teclas.push_back(double(t.nsecsElapsed()) / 1e6);
    };
    for (const QString& texto : {QStringLiteral("p0123"), QStringLiteral("aceite de oliva")}) {
        for (QChar letra : texto)
            teclear(Qt::Key_unknown, letra);
        for (qsizetype i = 0; i < texto.size(); ++i)
            teclear(Qt::Key_Backspace, QChar());
    }
    const Resumen porTecla = resumir(teclas);

    std::printf("productos                         %d (mostrados: %d)\n", productos,
                int(dialogo.modelo().total()));
    std::printf("consulta (bloquea una vez)        %8.1f ms\n", msConsulta);
    std::printf("lista llena                       %8.1f ms\n", msLlenado);
    std::printf("mayor pausa mientras se llena     %8.1f ms\n", msSordo);
    std::printf("por tecla en el filtro: mediana   %8.1f ms, máximo %.1f ms (%zu teclas)\n", porTecla.mediana,
                porTecla.maximo, teclas.size());

    dialogo.close();
    conexion.Close();
    borrarBase(nombreDeBase);
    return 0;
}
