#pragma once
// A shop as the program finds it: a program folder with its settings file and list files, a
// point-of-sale installation whose database is a test database (MariaDB or SQLite), and an FTP
// account on a pyftpdlib server of the test's own. Start-up runs as `enviar` runs it.

#include "bd_base.h"
#include "config/Configuracion.h"
#include "entorno.h"
#include "export/Avance.h"
#include "export/clsDeProductos.h"
#include "ftp_servidor.h"
#include "modulo/Modulo.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>

// Records what a send shows.
class AvanceAnotado : public Avance {
public:
    void MostrarLabel3(bool visible) override { label3Visible = visible; }
    void Label3(const QString& texto) override { label3 << texto; }
    void Label5(const QString& texto) override { label5 << texto; }
    void ProcesarEventos() override;
    void Pitido() override { ++pitidos; }

    QStringList label3;
    QStringList label5;
    bool label3Visible = false;
    int pitidos = 0;
    int eventos = 0;
    // Runs at every ProcesarEventos: a test's way to act in the middle of a send.
    std::function<void(int)> alProcesar;
};

class TiendaDePrueba {
public:
    // The program folder is a temporary one, or `carpetaDelPrograma` when given.
    explicit TiendaDePrueba(const QString& carpetaDelPrograma = QString());
    ~TiendaDePrueba();

    // Database with `productos` sample products, FTP server, installation, settings, start-up. A
    // missing server skips the test (fails it under CI); false then, or on a failure: callers stop.
    bool abrir(Motor motor, qint32 productos = 0);
    // The settings as the configuration tab would save them (box by box), then start-up again.
    void grabar(const std::function<void(CajasDeConfiguracion&)>& cambio);
    // One send, as "Enviar ahora" runs it.
    void enviar();

    QString ruta(const QString& nombre) const { return carpeta + QLatin1Char('/') + nombre; }
    QByteArray exportado() const; // the local export file
    QByteArray publicado(const QString& remoto = QStringLiteral("catalogo.csv")) const; // on the server

    BaseDePrueba base;
    ServidorFtp ftp;
    AvanceAnotado avance;
    clsDeProductos::Resultado resultado{}; // of the last send

private:
    bool preparar(Motor motor, qint32 productos);
    CajasDeConfiguracion cajas;
    QTemporaryDir temporal;
    QString carpeta;
    QTemporaryDir usuario;
    QByteArray xdgAnterior;
    QString razon;
};

// The program run with no display and nothing on its standard input, as a scheduled task runs it;
// `enElHijo` runs in the child before the program starts (Unix only).
struct Ejecucion {
    explicit Ejecucion(const QStringList& argumentos, const QStringList& entorno = {},
                       const std::function<void()>& enElHijo = {});
    // Waits for the end: the exit status, or -1 when it crashed or had to be killed.
    int estado();
    QProcess proceso;
    QString salida;
    QString errores;
};
