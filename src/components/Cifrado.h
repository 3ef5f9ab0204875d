#pragma once
// Enciphering of the secrets kept in the settings files: XChaCha20-Poly1305 under a key made once per
// user and kept in the user's configuration folder, readable by its owner only (on Windows also
// protected with DPAPI). An enciphered text is one line: "v1:" + base64url(nonce, ciphertext, tag).

#include <QString>
#include <optional>

namespace cifrado {

// The enciphered line, or nothing when the user's key cannot be made or read (`error` says why).
std::optional<QString> cifrar(const QString& texto, QString* error = nullptr);

// The plain text, or nothing when the line is not one of ours or fails authentication.
std::optional<QString> descifrar(const QString& linea, QString* error = nullptr);

// Where the user's key is kept: <configuration folder>/catalogo-ftp/clave.
QString rutaDeLaClave();

// True when the user's key can be used, or is not there yet (nothing is made); false when it is there but
// cannot be read or is no key, and `error` says why, naming the file.
bool claveUsable(QString* error);

} // namespace cifrado
