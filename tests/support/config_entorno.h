#pragma once
// A clean start for tests of the settings and the components: a temporary program folder, a temporary
// user configuration folder (where the enciphering key is made, never the real user's), a fresh module
// state with the core components registered, and the message boxes recorded instead of printed.

#include "archivos.h"
#include "components/Nucleo.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A message box as the user would have seen it.
struct CajaVista {
    QString texto;
    qint32 estilo;
    QString titulo;
    QObject* duena = nullptr; // ElMenu when the box was shown
    bool operator==(const CajaVista&) const = default;
};
void PrintTo(const CajaVista& caja, std::ostream* os);

class EntornoDeConfiguracion : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers a Nodex.Utilerias that records its boxes in `mensajes` and answers `respuesta`.
    void anotarMensajes(quint8 respuesta);

    QString ruta(const QString& nombre) const { return carpeta.filePath(nombre); }
    static QByteArray leer(const QString& archivo) { return leerArchivo(archivo); }
    static void escribir(const QString& archivo, const QByteArray& bytes) { escribirArchivo(archivo, bytes); }
    // The seven settings of the configuration tab as saved in `ini`, the enciphered ones (which must
    // be) deciphered: base, interval, URL, user, password, file, folder.
    static QStringList ajustesGuardados(const QString& ini);

    QTemporaryDir carpeta;
    std::shared_ptr<std::vector<CajaVista>> mensajes = std::make_shared<std::vector<CajaVista>>();
    std::vector<CajaVista> cajasDelSistema;

private:
    QTemporaryDir usuario;
    QByteArray xdgAnterior;
};
