#pragma once
// The desktop program started on a program folder of the test's own, whose point-of-sale installation
// keeps its catalogue in a SQLite file holding the products the test gives. Controls are found by
// name; modal windows are answered from the event loop. Brings the Qt headers every window suite uses.

#include "archivos.h"
#include "components/EsquemaPuntoDeVenta.h"
#include "entorno.h"
#include "modulo/Modulo.h"
#include "shell/frmInicial.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

class frmDescripcion;

class TiendaEnVentana : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Lays out the shop with these products and starts the program as main() does.
    frmInicial& cargar(const QList<puntoDeVenta::Producto>& productos, qint16 intervalo = 5);
    // Only lays it out, with the settings file of the program named `programa`.
    void prepararTienda(const QList<puntoDeVenta::Producto>& productos, qint16 intervalo,
                        const QString& programa);
    // Starts the program on the test's folder as main() does, with these options; not shown.
    frmInicial* arrancar(const QStringList& opciones = {});
    // The demo's sample shop (3,000 products in SQLite, a local folder to publish to) with that interval,
    // started as main() does; not shown.
    frmInicial& cargarMuestra(qint16 intervalo, const QStringList& opciones = {});
    void prepararMuestra(qint16 intervalo);
    // Waits for the send under way to end: false when it did not within 30 s.
    bool esperarEnvio() const;

    template <class Control> Control* control(const char* nombre) const {
        auto* encontrado = ventana->findChild<Control*>(QString::fromLatin1(nombre));
        EXPECT_NE(encontrado, nullptr) << nombre;
        return encontrado;
    }
    void clic(const char* boton) const { control<QPushButton>(boton)->click(); }
    bool reloj() const { return control<QTimer>("Timer1")->isActive(); }
    // The tabs that can be seen: the program shows one at a time.
    QList<int> pestanasVisibles() const;
    QSystemTrayIcon* icono(frmInicial* v = nullptr) const;
    // The description window, when it is shown.
    frmDescripcion* descripcion() const;

    QString ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
    QString archivoProductos() const { return ruta(QStringLiteral("ListaProductosReja.dat")); }
    // The settings file: named after the running executable, here the test's.
    QString archivoIni() const;
    QString archivoCampos() const { return ruta(QStringLiteral("ListaDeCampos.dat")); }
    static QByteArray leer(const QString& archivo) { return leerArchivo(archivo, "(no existe)"); }
    static void escribir(const QString& archivo, const QByteArray& bytes) { escribirArchivo(archivo, bytes); }

    QTemporaryDir carpeta;
    std::unique_ptr<frmInicial> ventana;

private:
    QTemporaryDir usuario;
};

// While it lives, runs `accion` on the next modal window (message box, product search, input box) as
// soon as it is up: once, or on every one that comes up when `siempre`. Make it just before the action
// that opens the window.
class AlAparecer {
public:
    explicit AlAparecer(std::function<void(QWidget*)> accion, bool siempre = false);
    AlAparecer(const AlAparecer&) = delete;
    AlAparecer& operator=(const AlAparecer&) = delete;
    bool visto() const { return hecho; }

private:
    QTimer reloj;
    bool hecho = false;
};

// In the product search window `modal`, once its list is loaded: types `filtro` and presses `tecla`.
// Returns the count line shown before the key.
QString buscarEnDialogo(QWidget* modal, const QString& filtro, Qt::Key tecla);

// While it lives, answers every message box that comes up: with the button of that text when the box
// has one, otherwise with Enter, which takes the default button. Keeps "title: text" of each.
class Contestador {
public:
    explicit Contestador(const QString& boton = QString());
    QStringList vistas;

private:
    AlAparecer contestar;
};
