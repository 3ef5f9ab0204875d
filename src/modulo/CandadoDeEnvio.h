#pragma once
// One send at a time per program folder, whichever process starts it (the window's timer, a scheduled
// `enviar`): two sends would write the same export file and upload to the same remote name.

#include <QLockFile>
#include <QString>
#include <functional>

class CandadoDeEnvio {
public:
    // How long a second send waits for the first before giving up. Tests shorten it.
    static inline int nMilisegundosDeEspera = 3000;

    // The lock file of that folder, not taken yet.
    explicit CandadoDeEnvio(const QString& carpeta);
    // Takes the lock, waiting for the send that holds it up to the limit and calling `esperando` about
    // every 50 ms meanwhile (the window repaints). False when it could not be taken: motivo() says why.
    bool tomar(const std::function<void()>& esperando);
    QString motivo() const;

private:
    QLockFile candado;
};
