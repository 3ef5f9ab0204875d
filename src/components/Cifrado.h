#pragma once
// Enciphering of the secrets kept in the settings files: XChaCha20-Poly1305 under a key made once per
// user and kept in the user's configuration folder, readable by its owner only (on Windows also
// protected with DPAPI). An enciphered text is one line: "v1:" + base64url(nonce, ciphertext, tag).

#include <QString>
#include <optional>

namespace cifrado {

// The enciphered line, or nothing when the user's key cannot be made or read (`motivo` says why).
std::optional<QString> cifrar(const QString& texto, QString* motivo = nullptr);

// The plain text, or nothing when the line is not one of ours or fails authentication.
std::optional<QString> descifrar(const QString& linea, QString* motivo = nullptr);

// Where the user's key is kept: <configuration folder>/catalogo-ftp/clave.
QString rutaDeLaClave();

// Why the user's key is there but cannot be used (it cannot be read, or is no key), naming the file;
// "" when it can, or is not there yet. Nothing is made.
QString problemaDeLaClave();

} // namespace cifrado
