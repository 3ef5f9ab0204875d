#include "config_entorno.h"

#include "components/Registro.h"
#include "modulo/Modulo.h"
#include "modulo/Rutinas.h"

#include <QFile>

using namespace Qt::StringLiterals;

quint8 UtileriasQueAnota::MsgBoxSkn(QString& mensaje, qint32& estilo, QString& titulo, quint8&) {
    vistas->push_back({mensaje, estilo, titulo, ElMenu});
    return respuesta;
}

void EntornoDeConfiguracion::SetUp() {
    ASSERT_TRUE(carpeta.isValid());
    ASSERT_TRUE(usuario.isValid());
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

QByteArray EntornoDeConfiguracion::leer(const QString& archivo) {
    QFile f(archivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void EntornoDeConfiguracion::escribir(const QString& archivo, const QByteArray& bytes) {
    QFile f(archivo);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}
