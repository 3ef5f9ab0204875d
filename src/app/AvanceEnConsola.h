#pragma once
// The progress of a send as lines on standard output, for `enviar`.

#include "export/Avance.h"

#include <QTextStream>

class AvanceEnConsola : public Avance {
public:
    explicit AvanceEnConsola(QTextStream& salida) : salida(salida) {}
    void MostrarLabel3(bool) override {}
    void Label3(const QString& texto) override { linea(texto); }
    void Label5(const QString& texto) override { linea(texto); }
    void ProcesarEventos() override;
    // The exit status tells a scheduled task that the send failed; a bell in its log would not.
    void Pitido() override {}
    void Aviso(const QString& texto) override { linea(QStringLiteral("Aviso: ") + texto); }

private:
    void linea(const QString& texto);
    QTextStream& salida;
};
