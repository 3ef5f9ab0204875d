#pragma once
// One send at a time per program folder, whichever process starts it (the window's timer, a scheduled
// `enviar`): two sends would write the same export file and upload to the same remote name.
//
// The lock is the operating system's own, on catalogo-ftp.lock (flock, LockFileEx): the system drops it
// when the process ends, however it ends, so no crash or power cut can leave it taken. The file itself
// stays in the folder, empty between sends; while a send holds it, it names the holder (process,
// program and computer, one a line) for the message of a send that waited in vain. What a send finds in
// it when it takes the lock was left by a send that never ended, and the log says so.

#include <QString>
#include <QtGlobal>
#include <functional>

class CandadoDeEnvio {
public:
    // How long a second send waits for the first before giving up. Tests shorten it.
    static inline int nMilisegundosDeEspera = 3000;

    // The lock file of that folder, not taken yet.
    explicit CandadoDeEnvio(const QString& carpeta);
    // Releases the lock when it was taken.
    ~CandadoDeEnvio();
    CandadoDeEnvio(const CandadoDeEnvio&) = delete;
    CandadoDeEnvio& operator=(const CandadoDeEnvio&) = delete;

    // Takes the lock, waiting for the send that holds it up to the limit and calling `esperando` about
    // every 50 ms meanwhile (the window repaints). False when it could not be taken: motivo() says why.
    bool tomar(const std::function<void()>& esperando);
    // After a failed tomar(): true when another send held the lock past the wait; false when the lock
    // file could not be made or written (a read-only folder, a full disk), a fault of the program
    // folder that waiting does not mend.
    bool ocupado() const { return porOtroEnvio; }
    QString motivo() const { return porQue; }

private:
    enum class Intento { tomado, ocupado, fallido };
    Intento intentar();
    // Writes who holds it, after saying in the log what an earlier holder left there.
    bool anotarDueno();
    void cerrar();

    QString ruta;
    qintptr manejador = -1; // the open lock file (a descriptor, or a Windows handle); -1 when closed
    bool tomado = false;
    bool porOtroEnvio = false;
    QString porQue;
};
