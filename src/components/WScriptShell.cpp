#include "components/WScriptShell.h"

#include "components/Registro.h"

#include <QDir>
#include <QRegularExpression>

#ifdef Q_OS_WIN
#include <QSettings>
#else
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#endif

namespace {
const QString claveRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");

// The value name when `nombre` is a value of the current user's Run key, "" otherwise.
QString valorDeRun(const QString& nombre) {
    static const QRegularExpression ruta(QStringLiteral("^(?:HKEY_CURRENT_USER|HKCU)\\\\(.+)\\\\([^\\\\]+)$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch partes = ruta.match(nombre);
    if (!partes.hasMatch() || partes.captured(1).compare(claveRun, Qt::CaseInsensitive) != 0)
        return QString();
    return partes.captured(2);
}

#ifdef Q_OS_WIN

QSettings claveDeRun() {
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\") + claveRun, QSettings::NativeFormat);
}

QString leer(const QString& valor) {
    return claveDeRun().value(valor).toString();
}

bool escribir(const QString& valor, const QString& datos) {
    QSettings run = claveDeRun();
    run.setValue(valor, datos);
    run.sync();
    return run.status() == QSettings::NoError;
}

#else

const QString grupo = QStringLiteral("[Desktop Entry]");
const QString prefijoExec = QStringLiteral("Exec=");

QString archivoDeEntrada(QString valor) {
    if (valor.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        valor.chop(4);
    return carpetaDeInicioAutomatico() + QLatin1Char('/') + valor + QStringLiteral(".desktop");
}

// The command of an entry is one argument: the program's path, quoted when it holds characters that
// the command line reserves, then escaped as any text of an entry file.
QString comoExec(const QString& ruta) {
    static const QRegularExpression reservados(QStringLiteral("[\\s\"'\\\\><~|&;$*?#()`]"));
    QString argumento;
    const bool entreComillas = ruta.contains(reservados);
    for (const QChar c : ruta) {
        if (c == QLatin1Char('%'))
            argumento += QLatin1Char('%');
        else if (entreComillas && QStringLiteral("\"`$\\").contains(c))
            argumento += QLatin1Char('\\');
        argumento += c;
    }
    if (entreComillas)
        argumento = QLatin1Char('"') + argumento + QLatin1Char('"');
    return argumento.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
}

QString desdeExec(const QString& texto) {
    QString argumento;
    for (qsizetype i = 0; i < texto.size(); ++i) {
        if (texto[i] != QLatin1Char('\\') || i + 1 == texto.size()) {
            argumento += texto[i];
            continue;
        }
        const QChar siguiente = texto[++i];
        argumento += siguiente == QLatin1Char('s')   ? QChar(' ')
                     : siguiente == QLatin1Char('n') ? QChar('\n')
                     : siguiente == QLatin1Char('t') ? QChar('\t')
                     : siguiente == QLatin1Char('r') ? QChar('\r')
                                                     : siguiente;
    }
    if (argumento.size() >= 2 && argumento.startsWith(QLatin1Char('"')) &&
        argumento.endsWith(QLatin1Char('"'))) {
        static const QRegularExpression escapado(QStringLiteral("\\\\([\"`$\\\\])"));
        argumento = argumento.mid(1, argumento.size() - 2).replace(escapado, QStringLiteral("\\1"));
    }
    return argumento.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

QStringList lineasDe(const QString& archivo) {
    QFile entrada(archivo);
    if (!entrada.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(entrada.readAll()).split(QLatin1Char('\n'));
}

// The index of the Exec line of the entry's group, -1 when it has none.
qsizetype lineaExec(const QStringList& lineas) {
    bool enGrupo = false;
    for (qsizetype i = 0; i < lineas.size(); ++i) {
        const QString linea = lineas[i].trimmed();
        if (linea.startsWith(QLatin1Char('[')))
            enGrupo = linea == grupo;
        else if (enGrupo && linea.startsWith(prefijoExec))
            return i;
    }
    return -1;
}

QString leer(const QString& valor) {
    const QStringList lineas = lineasDe(archivoDeEntrada(valor));
    const qsizetype exec = lineaExec(lineas);
    return exec < 0 ? QString() : desdeExec(lineas[exec].trimmed().mid(prefijoExec.size()));
}

// An entry that exists keeps its other lines (a user may have added some); a new one gets what a
// desktop needs to list it.
bool escribir(const QString& valor, const QString& datos) {
    const QString archivo = archivoDeEntrada(valor);
    QStringList lineas = lineasDe(archivo);
    const QString exec = prefijoExec + comoExec(datos);
    if (const qsizetype i = lineaExec(lineas); i >= 0) {
        lineas[i] = exec;
    } else if (const qsizetype g = lineas.indexOf(grupo); g >= 0) {
        lineas.insert(g + 1, exec);
    } else {
        lineas = QStringList{grupo,
                             QStringLiteral("Type=Application"),
                             QStringLiteral("Name=Actualización de productos en línea"),
                             exec,
                             QStringLiteral("Terminal=false"),
                             QString()};
    }
    if (!QDir().mkpath(carpetaDeInicioAutomatico()))
        return false;
    QSaveFile salida(archivo);
    if (!salida.open(QIODevice::WriteOnly))
        return false;
    salida.write(lineas.join(QLatin1Char('\n')).toUtf8());
    return salida.flush() && salida.commit();
}

#endif
} // namespace

QString WScriptShell::RegRead(const QString& nombre) {
    const QString valor = valorDeRun(nombre);
    return valor.isEmpty() ? QString() : leer(valor);
}

bool WScriptShell::RegWrite(const QString& nombre, const QString& datos) {
    const QString valor = valorDeRun(nombre);
    return !valor.isEmpty() && escribir(valor, datos);
}

void registrarShellDeScripts() {
    registrarComponente(QStringLiteral("WScript.Shell"), [] { return std::make_unique<WScriptShell>(); });
}

QString carpetaDeInicioAutomatico() {
#ifdef Q_OS_WIN
    return QString();
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
#endif
}
