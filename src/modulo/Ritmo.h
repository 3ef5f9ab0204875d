#pragma once
// Paces what a long loop does for the eye: a label that changes a hundred thousand times a second cannot
// be read, and repainting it, or looking for waiting events, would cost more than the work itself.

#include <QElapsedTimer>

class Ritmo {
public:
    explicit Ritmo(qint64 intervaloMs = 50) : intervalo(intervaloMs) {}
    // True on the first call and then whenever the interval has passed since the last true.
    bool toca() {
        if (reloj.isValid() && reloj.elapsed() < intervalo)
            return false;
        reloj.start();
        return true;
    }

private:
    qint64 intervalo;
    QElapsedTimer reloj;
};
