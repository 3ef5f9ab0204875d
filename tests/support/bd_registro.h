#pragma once
// Captures what the program writes to its log (the default logger) while the object lives.

#include <memory>
#include <string>

class RegistroCapturado {
public:
    RegistroCapturado();
    ~RegistroCapturado();

    std::string texto() const;

private:
    struct Datos;
    std::unique_ptr<Datos> d;
};
