#pragma once
// Paces progress texts: a label that changes a hundred thousand times a second cannot be read, and
// repainting it would cost more than the export. Texts are shown at most every `intervalo` ms.

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
