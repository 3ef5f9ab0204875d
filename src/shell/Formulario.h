#pragma once
// What the program's windows share with the routines that handle any window: a Tag text, the unit of
// their own coordinates (ScaleMode), and their outer position and size in twips.

#include <QString>
#include <QWidget>

class Formulario : public QWidget {
    Q_OBJECT

public:
    enum ScaleModeConstants : qint16 { vbTwips = 1, vbPixels = 3 };

    explicit Formulario(QWidget* parent = nullptr);

    QString Tag;
    qint16 ScaleMode = vbTwips;

    // Outer position and size, frame included, in twips.
    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void Move(float izquierda, float arriba);
    void Resize(float ancho, float alto);

    // The client area of the design, in twips (larger when the controls need more room).
    void TamanoDeDiseno(float anchoInterior, float altoInterior);
    void Centrar();
};
