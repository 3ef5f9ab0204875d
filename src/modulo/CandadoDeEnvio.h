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

    // ocupado: another send held the lock past the wait. fallido: the lock file could not be made or
    // written (a read-only folder, a full disk), a fault of the program folder that waiting does not mend.
    enum class Toma { tomado, ocupado, fallido };
    // Takes the lock, waiting for the send that holds it up to the limit and calling `esperando` about
    // every 50 ms meanwhile (the window repaints). When it is not taken, `error` says why.
    Toma tomar(const std::function<void()>& esperando, QString* error);

private:
    // One try, without waiting; `error` says why it failed.
    Toma intentar(QString* error);
    // Writes who holds it, after saying in the log what an earlier holder left there; `error`: the
    // system's reason when it cannot.
    bool anotarDueno(QString* error);
    void cerrar();

    QString ruta;
    qintptr manejador = -1; // the open lock file (a descriptor, or a Windows handle); -1 when closed
    bool tomado = false;
};
