#pragma once
// One program per program folder. Autostart at logon and a double-click on the executable would
// otherwise leave two senders on the same folder, uploading the same file on two timers: a later start
// asks the running program to show its window and ends.

#include <QLocalServer>
#include <QObject>
#include <QString>

class frmInicial;

class InstanciaUnica : public QObject {
    Q_OBJECT

public:
    // True when a program already runs on `carpeta`: it has been asked to show its window.
    static bool avisarALaQueCorre(const QString& carpeta);

    // Listens, for as long as this object lives, for later starts on `carpeta`; each one brings
    // `ventana` back from the notification area.
    InstanciaUnica(const QString& carpeta, frmInicial& ventana);

    // The local socket the program on `carpeta` listens on.
    static QString nombreDelServidor(const QString& carpeta);

private:
    void atender();

    frmInicial& ventana;
    QLocalServer servidor;
};
