#include "winapi/escritura.h"

namespace escritura {

bool escribirTodo(QFileDevice& archivo, const QByteArray& bytes, QString* error) {
    for (qint64 hecho = 0; hecho < bytes.size();) {
        const qint64 parte = archivo.write(bytes.constData() + hecho, bytes.size() - hecho);
        if (parte <= 0) {
            if (error)
                *error = archivo.errorString();
            return false;
        }
        hecho += parte;
    }
    // What stays in the buffer after a flush cut short is tried again by the next one.
    if (archivo.flush() || archivo.flush())
        return true;
    if (error)
        *error = archivo.errorString();
    return false;
}

} // namespace escritura
