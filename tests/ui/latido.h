#pragma once
// How long the window's thread goes without processing its events: a timer ticks on it every 10 ms, and
// the longest gap between two ticks is the longest the window went without answering. Header-only, for
// the window's suites and the benchmark alike.

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>

class Latido {
public:
    Latido() {
        reloj.start();
        tic.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tic, &QTimer::timeout, [this] {
            const qint64 ahora = reloj.elapsed();
            mayor = std::max(mayor, ahora - anterior);
            anterior = ahora;
        });
        tic.start(10);
    }
    // The longest gap so far, in milliseconds.
    qint64 mayorMs() const { return std::max(mayor, reloj.elapsed() - anterior); }

private:
    QElapsedTimer reloj;
    QTimer tic;
    qint64 anterior = 0;
    qint64 mayor = 0;
};
