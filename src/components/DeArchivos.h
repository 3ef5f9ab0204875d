#pragma once
// Nodex.DeArchivos: local file utilities.

#include "components/Componente.h"

#include <QString>

class DeArchivos : public Componente {
public:
    virtual bool HayArchivo(QString& ruta) = 0;
    virtual QString NombreDeArchivo(QString& ruta) = 0;
    virtual void BorraArchivo(QString& ruta) = 0;
    // Opens the document in the program associated with its type.
    virtual void AbreDocumento(QString& ruta, qint16 a, qint16 b) = 0;
};
