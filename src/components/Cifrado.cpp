#include "components/Cifrado.h"

#include "winapi/lectura.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <sodium.h>

#ifdef Q_OS_WIN
// Each needs the one before, so they stay apart from the sorted blocks.
#include <windows.h>

#include <wincrypt.h>

#include <dpapi.h>
#endif

namespace {

constexpr auto kPrefijo = QLatin1String("v1:");
constexpr qsizetype kLargoClave = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr qsizetype kLargoNonce = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr qsizetype kLargoEtiqueta = crypto_aead_xchacha20poly1305_ietf_ABYTES;
// The format version is authenticated with the text, so a "v1:" line cannot be passed off as another.
const QByteArray kDatosAsociados = QByteArrayLiteral("catalogo-ftp v1");
constexpr auto kBase64 = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

void fallo(QString* error, const QString& texto) {
    if (error)
        *error = texto;
}

#ifdef Q_OS_WIN
// The key on disk is bound to the Windows user's logon credentials.
QByteArray pasarPorDpapi(const QByteArray& entrada, bool proteger) {
    DATA_BLOB in{static_cast<DWORD>(entrada.size()),
                 reinterpret_cast<BYTE*>(const_cast<char*>(entrada.constData()))};
    DATA_BLOB out{};
    const BOOL hecho = proteger ? CryptProtectData(&in, L"catalogo-ftp", nullptr, nullptr, nullptr,
                                                   CRYPTPROTECT_UI_FORBIDDEN, &out)
                                : CryptUnprotectData(&in, nullptr, nullptr, nullptr, nullptr,
                                                     CRYPTPROTECT_UI_FORBIDDEN, &out);
    if (!hecho)
        return {};
    QByteArray salida(reinterpret_cast<const char*>(out.pbData), static_cast<qsizetype>(out.cbData));
    LocalFree(out.pbData);
    return salida;
}
QByteArray aDisco(const QByteArray& clave) {
    return pasarPorDpapi(clave, true);
}
QByteArray deDisco(const QByteArray& guardada) {
    return pasarPorDpapi(guardada, false);
}
#else
QByteArray aDisco(const QByteArray& clave) {
    return clave;
}
QByteArray deDisco(const QByteArray& guardada) {
    return guardada;
}
#endif

constexpr QFile::Permissions kSoloDueno =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;

// The key on disk is 32 bytes, a few hundred once protected by DPAPI.
constexpr qint64 kMaximoEnDisco = 64 * 1024;

// The key file as read.
struct ClaveLeida {
    lectura::Estado estado;
    QByteArray bytes;
    QString porQue; // when it cannot be read
};

ClaveLeida leerLaClave() {
    ClaveLeida leida;
    leida.estado = lectura::leer(cifrado::rutaDeLaClave(), leida.bytes, &leida.porQue, kMaximoEnDisco);
    return leida;
}

// The key in a file that was there; nothing when it cannot be read or is no key.
std::optional<QByteArray> claveDe(const ClaveLeida& leida, QString* error) {
    const QString ruta = QDir::toNativeSeparators(cifrado::rutaDeLaClave());
    if (leida.estado == lectura::Estado::ilegible) {
        fallo(error, QStringLiteral("no se puede leer la clave %1: %2").arg(ruta, leida.porQue));
        return std::nullopt;
    }
    const QByteArray clave = deDisco(leida.bytes);
    if (clave.size() != kLargoClave) {
        fallo(error, QStringLiteral("la clave %1 no es válida; bórrela para que se cree otra "
                                    "(lo cifrado con ella habrá que escribirlo de nuevo)")
                         .arg(ruta));
        return std::nullopt;
    }
    // Someone widened its permissions: narrow them again.
    if ((QFile::permissions(ruta) & ~(kSoloDueno | QFile::ExeOwner | QFile::ExeUser)).toInt() != 0)
        QFile::setPermissions(ruta, kSoloDueno);
    return clave;
}

// Makes the key once: written under a temporary name with owner-only permissions from the start, then
// renamed, so that two processes starting together end up with the same key.
std::optional<QByteArray> crearClave(const QString& ruta, QString* error) {
    const QString carpeta = QFileInfo(ruta).absolutePath();
    if (!QDir().mkpath(QFileInfo(carpeta).absolutePath()) ||
        (!QFileInfo(carpeta).isDir() &&
         !QDir().mkdir(carpeta, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))) {
        fallo(error, QStringLiteral("no se puede crear la carpeta %1").arg(carpeta));
        return std::nullopt;
    }
    QByteArray clave(kLargoClave, Qt::Uninitialized);
    crypto_aead_xchacha20poly1305_ietf_keygen(reinterpret_cast<unsigned char*>(clave.data()));
    const QByteArray guardada = aDisco(clave);
    const QString temporal = ruta + QStringLiteral(".%1.tmp").arg(QCoreApplication::applicationPid());
    QFile f(temporal);
    if (guardada.isEmpty() || !f.open(QIODevice::WriteOnly | QIODevice::NewOnly, kSoloDueno) ||
        f.write(guardada) != guardada.size() || !f.flush()) {
        fallo(error, QStringLiteral("no se puede guardar la clave %1: %2").arg(ruta, f.errorString()));
        f.remove();
        return std::nullopt;
    }
    f.close();
    if (!QFile::rename(temporal, ruta)) {
        QFile::remove(temporal);
        return claveDe(leerLaClave(), error); // another process made it first
    }
    return clave;
}

std::optional<QByteArray> claveDelUsuario(QString* error) {
    if (sodium_init() < 0) {
        fallo(error, QStringLiteral("libsodium no se pudo iniciar"));
        return std::nullopt;
    }
    // Only a key that is not there is made: one that cannot be read now (another program holds it, its
    // permissions were changed) still opens everything enciphered so far.
    const ClaveLeida leida = leerLaClave();
    return leida.estado == lectura::Estado::ausente ? crearClave(cifrado::rutaDeLaClave(), error)
                                                    : claveDe(leida, error);
}

const unsigned char* bytes(const QByteArray& b) {
    return reinterpret_cast<const unsigned char*>(b.constData());
}
unsigned char* bytes(QByteArray& b) {
    return reinterpret_cast<unsigned char*>(b.data());
}

} // namespace

namespace cifrado {

QString rutaDeLaClave() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/catalogo-ftp/clave");
}

bool claveUsable(QString* error) {
    const ClaveLeida leida = leerLaClave();
    return leida.estado == lectura::Estado::ausente || claveDe(leida, error);
}

std::optional<QString> cifrar(const QString& texto, QString* error) {
    const auto clave = claveDelUsuario(error);
    if (!clave)
        return std::nullopt;
    const QByteArray plano = texto.toUtf8();
    QByteArray salida(kLargoNonce + plano.size() + kLargoEtiqueta, Qt::Uninitialized);
    randombytes_buf(salida.data(), kLargoNonce);
    unsigned long long largo = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        bytes(salida) + kLargoNonce, &largo, bytes(plano), static_cast<unsigned long long>(plano.size()),
        bytes(kDatosAsociados), static_cast<unsigned long long>(kDatosAsociados.size()), nullptr,
        bytes(salida), bytes(*clave));
    return kPrefijo + QString::fromLatin1(salida.toBase64(kBase64));
}

std::optional<QString> descifrar(const QString& linea, QString* error) {
    if (!linea.startsWith(kPrefijo)) {
        fallo(error, QStringLiteral("no empieza con \"v1:\""));
        return std::nullopt;
    }
    const auto decodificado = QByteArray::fromBase64Encoding(
        linea.mid(kPrefijo.size()).toLatin1(), kBase64 | QByteArray::AbortOnBase64DecodingErrors);
    if (!decodificado || decodificado.decoded.size() < kLargoNonce + kLargoEtiqueta) {
        fallo(error, QStringLiteral("no es base64url válido o es demasiado corto"));
        return std::nullopt;
    }
    const auto clave = claveDelUsuario(error);
    if (!clave)
        return std::nullopt;
    const QByteArray& datos = decodificado.decoded;
    QByteArray plano(datos.size() - kLargoNonce - kLargoEtiqueta, Qt::Uninitialized);
    unsigned long long largo = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            bytes(plano), &largo, nullptr, bytes(datos) + kLargoNonce,
            static_cast<unsigned long long>(datos.size() - kLargoNonce), bytes(kDatosAsociados),
            static_cast<unsigned long long>(kDatosAsociados.size()), bytes(datos), bytes(*clave)) != 0) {
        fallo(error, QStringLiteral("no se puede autenticar: alterado, o cifrado con la clave de otro "
                                    "usuario o de otro equipo"));
        return std::nullopt;
    }
    return QString::fromUtf8(plano);
}

} // namespace cifrado
