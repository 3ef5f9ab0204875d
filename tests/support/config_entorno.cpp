#include "config_entorno.h"

#include "components/Registro.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace {

// Nodex.Utilerias whose message box records what it shows and answers `respuesta`.
class UtileriasQueAnota : public UtileriasNucleo {
public:
    UtileriasQueAnota(std::shared_ptr<std::vector<CajaVista>> vistas, quint8 respuesta)
        : vistas(std::move(vistas)), respuesta(respuesta) {}
    quint8 MsgBoxSkn(QString& mensaje, qint32& estilo, QString& titulo, quint8&) override {
        vistas->push_back({mensaje, estilo, titulo, ElMenu});
        return respuesta;
    }

private:
    std::shared_ptr<std::vector<CajaVista>> vistas;
    quint8 respuesta;
};

} // namespace

void PrintTo(const CajaVista& caja, std::ostream* os) {
    *os << caja.titulo.toStdString() << " (" << caja.estilo << "): " << caja.texto.toStdString();
}

void EntornoDeConfiguracion::SetUp() {
    ASSERT_TRUE(carpeta.isValid() && usuario.isValid());
    xdgAnterior = qEnvironmentVariableIsSet("XDG_CONFIG_HOME") ? qgetenv("XDG_CONFIG_HOME") : QByteArray();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(usuario.path()));
    reiniciarModulo();
    registrarComponentesDelNucleo();
    ponerCajaDelSistema([this](const QString& texto, qint32 estilo, const QString& titulo) {
        cajasDelSistema.push_back({texto, estilo, titulo});
        return quint8{1};
    });
}

void EntornoDeConfiguracion::TearDown() {
    ponerCajaDelSistema({});
    reiniciarModulo();
    registrarComponentesDelNucleo();
    if (xdgAnterior.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", xdgAnterior);
}

void EntornoDeConfiguracion::anotarMensajes(quint8 respuesta) {
    registrarComponente(u"Nodex.Utilerias"_s, [vistas = mensajes, respuesta] {
        return std::make_unique<UtileriasQueAnota>(vistas, respuesta);
    });
}

QStringList EntornoDeConfiguracion::ajustesGuardados(const QString& ini) {
    const std::pair<QString, bool> claves[] = {{u"Base de datos principal"_s, false},
                                               {u"Intervalo en minutos para enviar productos"_s, false},
                                               {u"URL del FTP"_s, true},
                                               {u"Usuario del FTP"_s, true},
                                               {u"Contraseña del FTP"_s, true},
                                               {u"Archivo para el FTP"_s, false},
                                               {u"Directorio"_s, true}};
    QStringList valores;
    for (const auto& [clave, cifrado] : claves) {
        const QString valor = LibKtfaNucleo().LeeIni(u"Configuración"_s, clave, ini);
        EXPECT_EQ(valor.startsWith(u"v1:"_s), cifrado) << clave.toStdString();
        valores << (cifrado ? UtileriasNucleo().DesEncripta(valor) : valor);
    }
    return valores;
}
