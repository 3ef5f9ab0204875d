// The shop's own computer on a bad day: for each file the program reads or writes, the ways it goes
// wrong there, and what the program promises then. Each row starts from the same good shop, spoils one
// file and runs the program as a scheduled task or a technician runs it.

#include "app/Salidas.h"
#include "components/Cifrado.h"
#include "tienda_de_prueba.h"
#include "winapi/ansi.h"

#include <QSysInfo>

#ifdef Q_OS_LINUX // permissions, a file size limit and a root that must obey them are Linux's here
#include <csignal>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

using Danar = std::function<void(const QString& ruta)>;

// One way one file goes wrong, and what follows.
struct Fila {
    const char* nombre;
    QString archivo; // in the program folder; "clave" is the user's enciphering key
    Danar danar;
    int estado;
    QString dicho;         // in the output, the errors or the log
    QByteArray inicio;     // how the published file starts afterwards: "anterior" when nothing was published
    bool conserva = false; // the spoilt file is still as it was spoilt
    const char* orden = "enviar";  // the command and its options
    rlim_t limite = RLIM_INFINITY; // the largest file the program may write: a full disk
};

// The program gets no more rights than a shop's user has, also when the tests run as root.
void comoUnUsuario() {
    if (geteuid() != 0)
        return;
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct datos[2]{};
    bool hecho = syscall(SYS_capget, &cabecera, datos) == 0;
    datos[0].inheritable = datos[1].inheritable = 0;
    hecho = hecho && syscall(SYS_capset, &cabecera, datos) == 0;
    for (const int capacidad : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        hecho = hecho && prctl(PR_CAPBSET_DROP, capacidad, 0, 0, 0) == 0;
    // A root that could not be tamed would read every unreadable file: the row must fail, not pass.
    if (!hecho)
        _exit(125);
}

void cambiarPermisos(const QString& ruta, mode_t modo) {
    chmod(QFile::encodeName(ruta).constData(), modo);
}

const Danar quitar = [](const QString& ruta) { QFile::remove(ruta); };
const Danar vaciar = [](const QString& ruta) { escribirArchivo(ruta, QByteArray()); };
const Danar ilegible = [](const QString& ruta) { cambiarPermisos(ruta, 0); };
const Danar carpeta = [](const QString& ruta) {
    QFile::remove(ruta);
    QDir().mkpath(ruta + "/dentro");
};
const Danar basura = [](const QString& ruta) {
    QByteArray bytes;
    for (int i = 0; i < 3000; ++i)
        bytes += char((i * 7919 + 13) % 256);
    escribirArchivo(ruta, bytes);
};
// The file written with `bytes`, then spoilt further by `luego` when given.
Danar escribir(const QByteArray& bytes, const Danar& luego = {}) {
    return [bytes, luego](const QString& ruta) {
        escribirArchivo(ruta, bytes);
        if (luego)
            luego(ruta);
    };
}
// Old Mac editors end lines with CR alone; a file touched up by several editors mixes them.
const Danar finesCR = [](const QString& ruta) {
    escribirArchivo(ruta, leerArchivo(ruta).replace("\r\n", "\r"));
};
const Danar finesMezclados = [](const QString& ruta) {
    const QList<QByteArray> lineas = leerArchivo(ruta).split('\n');
    QByteArray mezclado;
    for (qsizetype i = 0; i < lineas.size(); ++i)
        mezclado +=
            lineas[i].chopped(lineas[i].endsWith('\r') ? 1 : 0) + (i % 3 ? i % 3 == 1 ? "\n" : "\r\n" : "\r");
    escribirArchivo(ruta, mezclado);
};
const Danar enorme = [](const QString& ruta) {
    escribirArchivo(ruta, QByteArray("; ") + QByteArray(5 * 1024 * 1024, 'x') + "\r\n" + leerArchivo(ruta));
};
// The folder holding the file becomes read-only, as a shop's Program Files folder is.
const Danar carpetaDeSoloLectura = [](const QString& ruta) {
    cambiarPermisos(QFileInfo(ruta).absolutePath(), 0555);
};

class EquipoDeLaTienda : public ::testing::Test {
protected:
    void SetUp() override {
        if (!tienda.abrir(Motor::MariaDB, 300))
            return;
        carpetaDelPrograma = modulo().cCarpeta;
        QFile::copy(modulo().cArchivoINI, ruta("catalogo-ftp.ini"));
        escribirArchivo(ruta("ListaDeCampos.dat"), "Clave\r\nClave\r\n");
        for (const char* archivo : {"catalogo-ftp.ini", "vendalia/Q7K.ini", "ListaDeCampos.dat", "clave"})
            buenos[ruta(archivo)] = leerArchivo(ruta(archivo));
        for (const char* archivo : {"ListaProductosReja.dat", "catalogo-ftp.lock", "catalogo-ftp.log",
                                    "catalogo-ftp.publicado", "catalogo.csv"})
            buenos[ruta(archivo)] = QByteArray();
        reiniciarModulo();
    }
    QString ruta(const QString& archivo) const {
        return archivo == "clave" ? cifrado::rutaDeLaClave() : carpetaDelPrograma + '/' + archivo;
    }
    // Every file back as the good shop had it; the published file marked, to see whether it changed.
    void reponer() {
        cambiarPermisos(carpetaDelPrograma, 0755);
        cambiarPermisos(QFileInfo(cifrado::rutaDeLaClave()).absolutePath(), 0700);
        for (const auto& [archivo, bytes] : buenos.asKeyValueRange()) {
            QDir(archivo).removeRecursively();
            QFile::remove(archivo);
            if (!bytes.isNull())
                escribirArchivo(archivo, bytes);
        }
        escribirArchivo(tienda.ftp.carpeta() + "/catalogo.csv", "anterior");
    }
    void comprobar(const Fila& fila) {
        SCOPED_TRACE(fila.nombre);
        reponer();
        const QString archivo = ruta(fila.archivo);
        fila.danar(archivo);
        const QByteArray danado = leerArchivo(archivo);

        Ejecucion e(QString::fromLatin1(fila.orden).split(' ') + QStringList{"--carpeta", carpetaDelPrograma},
                    {}, [limite = fila.limite] {
                        std::signal(SIGXFSZ, SIG_IGN);
                        const rlimit lleno{limite, limite};
                        setrlimit(RLIMIT_FSIZE, &lleno);
                        comoUnUsuario();
                    });
        const int estado = e.estado();
        cambiarPermisos(carpetaDelPrograma, 0755);
        cambiarPermisos(archivo, 0644);
        const QString dicho = e.salida + e.errores + QString::fromUtf8(leerArchivo(ruta("catalogo-ftp.log")));

        EXPECT_EQ(estado, fila.estado) << dicho.toStdString();
        EXPECT_TRUE(dicho.contains(fila.dicho)) << dicho.toStdString();
        EXPECT_FALSE(dicho.contains("Unknown error")) << dicho.toStdString();
        EXPECT_TRUE(tienda.publicado().startsWith(fila.inicio)) << tienda.publicado().left(80).toStdString();
        if (fila.conserva) {
            EXPECT_EQ(leerArchivo(archivo), danado);
        }
    }

    TiendaDePrueba tienda;
    QString carpetaDelPrograma;
    QMap<QString, QByteArray> buenos; // a null value: the good shop has no such file
};

const QByteArray kAnterior = "anterior";
const QByteArray kTodos = "\"P000001\",\"P000001\"\r\n\"P000002\",\"P000002\"\r\n";
const int sinClave = geteuid() == 0 ? salida::kSinConexionFtp : salida::kSinBaseDeDatos;

// Settings this program and the point of sale keep: a file that is there but cannot be read stops
// start-up (status 1) and is never written over; what can be read as lines is read as lines.
TEST_F(EquipoDeLaTienda, ArchivosDeConfiguracion) {
    const QString ini = "catalogo-ftp.ini", q7k = "vendalia/Q7K.ini";
    const Fila filas[] = {
        {"configuración ausente", ini, quitar, salida::kSinArranque, "ruta correcta de Vendalia Pro",
         kAnterior},
        {"configuración vacía", ini, vaciar, salida::kSinArranque, "ruta correcta de Vendalia Pro",
         kAnterior},
        {"configuración ilegible", ini, ilegible, salida::kSinArranque, "no se puede leer " + ruta(ini),
         kAnterior, true},
        {"configuración es una carpeta", ini, carpeta, salida::kSinArranque, "es una carpeta", kAnterior,
         true},
        {"configuración con basura", ini, basura, salida::kSinArranque, "ruta correcta de Vendalia Pro",
         kAnterior},
        {"configuración con fines CR", ini, finesCR, salida::kHecho, "Enviado: /catalogo.csv", kTodos},
        {"configuración con fines mezclados", ini, finesMezclados, salida::kHecho, "Enviado", kTodos},
        {"configuración enorme", ini, enorme, salida::kSinArranque, "más de los 4194304", kAnterior, true},
        {"configurar, ilegible", ini, ilegible, 1, "no se puede leer " + ruta(ini), kAnterior, true,
         "configurar --intervalo 5"},
        {"configurar, carpeta de solo lectura", ini, carpetaDeSoloLectura, 1,
         "no se puede escribir " + ruta(ini), kAnterior, true, "configurar --intervalo 5"},
        {"configurar, disco lleno", ini, [](const QString&) {}, 1, "no se puede escribir " + ruta(ini),
         kAnterior, true, "configurar --usuario ventas", 200},
        {"Q7K.ini ilegible", q7k, ilegible, salida::kSinArranque, "no se puede leer " + ruta(q7k), kAnterior,
         true},
        {"Q7K.ini es una carpeta", q7k, carpeta, salida::kSinArranque, "es una carpeta", kAnterior, true},
        {"Q7K.ini con fines CR", q7k, finesCR, salida::kHecho, "Enviado", kTodos, true},
        // Without the key the database's user deciphers empty too, and its client then logs in as the
        // system's user: root where the tests run as root (the FTP settings fail next), refused elsewhere.
        {"clave ausente", "clave", quitar, sinClave, "se cifró con la clave de otro usuario", kAnterior},
        {"clave ilegible", "clave", ilegible, sinClave, "no se puede leer la clave " + ruta("clave"),
         kAnterior, true},
        {"clave es una carpeta", "clave", carpeta, sinClave, "es una carpeta", kAnterior, true},
        {"clave vacía", "clave", vaciar, sinClave, "no es válida; bórrela", kAnterior, true},
    };
    for (const Fila& fila : filas)
        comprobar(fila);
}

// The list files: one that is there but cannot be read, or holds no product, publishes nothing
// (status 4) and the published catalogue stays as it was.
TEST_F(EquipoDeLaTienda, Listas) {
    const QString campos = "ListaDeCampos.dat", productos = "ListaProductosReja.dat";
    const QByteArray dosProductos = "P000002\r\nDos\r\nP000001\r\nUno\r\n";
    const QByteArray dosEnviados = "\"P000002\",\"P000002\"\r\n\"P000001\",\"P000001\"\r\n";
    const Fila filas[] = {
        {"campos ausentes", campos, quitar, salida::kHecho, "Enviado",
         "\"P000001\",\"" + aAnsi(puntoDeVenta::productoDeMuestra(1).Descrip) + "\",\""},
        {"campos vacíos", campos, vaciar, salida::kHecho, "Enviado", ""},
        {"campos ilegibles", campos, ilegible, salida::kArchivoIncompleto, "no se puede leer " + ruta(campos),
         kAnterior, true},
        {"campos es una carpeta", campos, carpeta, salida::kArchivoIncompleto, "es una carpeta", kAnterior},
        {"campos con fines CR", campos, finesCR, salida::kHecho, "Enviado", kTodos},
        {"campos con fines mezclados", campos, escribir("Clave\rClave\nClave\r\n"), salida::kHecho, "Enviado",
         "\"P000001\",\"P000001\",\"P000001\"\r\n"},
        {"productos vacíos", productos, vaciar, salida::kArchivoIncompleto, "no tiene ningún producto",
         kAnterior},
        {"productos de una línea", productos, escribir("P000001"), salida::kArchivoIncompleto,
         "no tiene ningún producto", kAnterior, true},
        {"productos ilegibles", productos, escribir(dosProductos, ilegible), salida::kArchivoIncompleto,
         "no se puede leer " + ruta(productos), kAnterior, true},
        {"productos es una carpeta", productos, carpeta, salida::kArchivoIncompleto, "es una carpeta",
         kAnterior},
        {"productos con fines CR", productos, escribir("P000002\rDos\rP000001\rUno\r"), salida::kHecho,
         "Enviado", dosEnviados},
        {"productos con fines mezclados", productos, escribir("P000002\nDos\rP000001\r\nUno"), salida::kHecho,
         "Enviado", dosEnviados},
    };
    for (const Fila& fila : filas)
        comprobar(fila);
}

// What a send writes in the program folder: a failure there publishes nothing (status 4) and says why; a
// lock left by a send that never ended does not block; a log that cannot be written does not stop the
// send.
TEST_F(EquipoDeLaTienda, LoQueElEnvioEscribe) {
    const QString exportado = "catalogo.csv", candado = "catalogo-ftp.lock", bitacora = "catalogo-ftp.log";
    const Fila filas[] = {
        {"archivo es una carpeta", exportado, carpeta, salida::kArchivoIncompleto,
         "no se pudo escribir completo (", kAnterior},
        {"archivo con disco lleno", exportado, quitar, salida::kArchivoIncompleto,
         "no se pudo escribir completo (", kAnterior, false, "enviar", 4096},
        {"archivo en carpeta de solo lectura", candado, escribir("", carpetaDeSoloLectura),
         salida::kArchivoIncompleto, "no se pudo escribir completo (", kAnterior},
        {"candado vacío", candado, escribir(""), salida::kHecho, "Enviado", kTodos},
        {"candado con basura", candado, basura, salida::kHecho, "tenía algo que no es de un envío en curso",
         kTodos},
        {"candado de otro equipo", candado, escribir("4321\ncatalogo-ftp\notra-caja\n"), salida::kHecho,
         "era del proceso 4321 (catalogo-ftp, equipo otra-caja), que terminó sin soltarlo", kTodos},
        {"candado de un proceso que ya no existe", candado,
         escribir("999999999\ncatalogo-ftp\n" + QSysInfo::machineHostName().toUtf8() + "\n"), salida::kHecho,
         "era del proceso 999999999", kTodos},
        {"candado es una carpeta", candado, carpeta, salida::kArchivoIncompleto,
         "no se puede crear " + ruta(candado), kAnterior},
        {"candado en carpeta de solo lectura", candado, carpetaDeSoloLectura, salida::kArchivoIncompleto,
         "no se puede crear " + ruta(candado), kAnterior},
        {"candado con disco lleno", candado, quitar, salida::kArchivoIncompleto,
         "no se puede escribir " + ruta(candado), kAnterior, false, "enviar", 16},
        {"bitácora es una carpeta", bitacora, carpeta, salida::kHecho, "No se puede escribir la bitácora",
         kTodos},
        {"bitácora ilegible", bitacora, escribir("x", ilegible), salida::kHecho,
         "No se puede escribir la bitácora", kTodos},
    };
    for (const Fila& fila : filas)
        comprobar(fila);
}

} // namespace
#endif
