#pragma once
// How a send shows its progress. The core writes texts and asks for waiting events to be processed;
// the main window implements this with its labels Label3 and Label5, `enviar` with lines on standard
// output. The window's send runs on a thread of its own, so the window's implementation takes these
// calls from that thread.

#include <QString>

class Avance {
public:
    virtual ~Avance() = default;
    virtual void MostrarLabel3(bool visible) = 0;
    virtual void Label3(const QString& texto) = 0;
    virtual void Label5(const QString& texto) = 0;
    // Lets the window process the events that are waiting (repaints, clicks).
    virtual void ProcesarEventos() = 0;
    // The system beep: the only signal of a failed upload.
    virtual void Pitido() = 0;
    // Something the shop should correct, though the send goes on (a field that is not a column). The
    // log has it already; the window shows its outcome line instead.
    virtual void Aviso(const QString& /*texto*/) {}
    // True once the program asks the send to stop because it is ending: the send then stops as soon as it
    // cleanly can (the export's loop, the FTP layer's waits) and says so in the log.
    virtual bool Interrumpido() const { return false; }
    // "Enviar ahora" found a catalogue that lost most of its products (`porQue` says how many): true to
    // publish it anyway. Only the window asks; nothing else that sends waits for a person.
    virtual bool PublicarRetenido(const QString& /*porQue*/) { return false; }
};
