#pragma once
// One program per program folder. Autostart at logon and a double-click on the executable would
// otherwise leave two senders on the same folder, uploading the same file on two timers: a later start
// asks the running program to show its window and ends.
//
// The folder's guard is a lock that the system holds on a file of the folder for as long as the process
// lives (a crash or a kill lets it go too), taken before start-up, so that of two starts at the same
// moment only one passes. The one that holds it listens on a local socket named after the folder.

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class frmInicial;

class InstanciaUnica : public QObject {
    Q_OBJECT

public:
    // Takes the guard of `carpeta`; while another program holds it, asks that one to show its window
    // instead, trying again while it is still starting.
    explicit InstanciaUnica(const QString& carpeta);
    ~InstanciaUnica() override;

    // False when another program runs on the folder and was asked to show its window: this one ends.
    bool corre() const { return deEstaCarpeta; }

    // From now on each later start brings `ventana` back from the notification area; one that came
    // during start-up does so now. What went wrong with the guard or the socket goes to the log, which
    // start-up has opened by then.
    void atender(frmInicial& ventana);

    // The local socket the program on `carpeta` listens on.
    static QString nombreDelServidor(const QString& carpeta);

private:
    enum class Guarda { tomada, deOtro, sinArchivo };
    Guarda tomarGuarda(const QString& archivo);
    // Connected: the program that runs was asked; its answer is awaited until `limite`.
    static bool avisarALaQueCorre(const QString& nombre, const QDeadlineTimer& limite);
    void escuchar(const QString& nombre, bool conGuarda);
    void atenderConexiones();
    void mostrar();

    qintptr guarda = -1; // the guard file, open and locked: a descriptor, or a handle on Windows
    bool deEstaCarpeta = false;
    QLocalServer servidor;
    QPointer<frmInicial> ventana;
    bool pedida = false; // a later start asked before the window was there
    QStringList avisos;  // for the log, once it is open
};
