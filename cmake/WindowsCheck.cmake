# The Windows compile check (scripts/windows/check.sh): the program cross-compiled with MinGW-w64
# against Qt for Windows, where libcurl, libsodium, spdlog/fmt and the MariaDB client have no Windows
# build. Their targets carry the host's headers, which are the same on every platform, and no library.
# Only those header trees are exposed, never the rest of the host's /usr/include, so nothing of glibc
# leaks into a Windows compile. Their own symbols are the only ones the check lets the link leave undefined.

set(cabeceras ${CMAKE_BINARY_DIR}/dependency-headers)
file(MAKE_DIRECTORY ${cabeceras})
foreach(arbol curl sodium sodium.h spdlog fmt mariadb)
    find_file(origen_${arbol} ${arbol} PATHS /usr/include/x86_64-linux-gnu /usr/include
        NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    file(CREATE_LINK ${origen_${arbol}} ${cabeceras}/${arbol} SYMBOLIC)
endforeach()

foreach(objetivo PkgConfig::CURL PkgConfig::SODIUM spdlog::spdlog MariaDB::cliente)
    add_library(${objetivo} INTERFACE IMPORTED GLOBAL)
    target_include_directories(${objetivo} SYSTEM INTERFACE ${cabeceras})
endforeach()
target_include_directories(MariaDB::cliente SYSTEM INTERFACE ${cabeceras}/mariadb)
# Linked statically, as a Windows build of them would be; spdlog as Debian builds it, over fmt.
target_compile_definitions(PkgConfig::CURL INTERFACE CURL_STATICLIB)
target_compile_definitions(PkgConfig::SODIUM INTERFACE SODIUM_STATIC)
target_compile_definitions(spdlog::spdlog INTERFACE SPDLOG_COMPILED_LIB SPDLOG_FMT_EXTERNAL)

# Every header of the platform layer compiled after <windows.h>: their names must not collide with the SDK's.
file(GLOB capa RELATIVE ${PROJECT_SOURCE_DIR}/src CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/winapi/*.h)
list(TRANSFORM capa REPLACE "(.+)" "#include \"\\1\"")
list(JOIN capa "\n" capa)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/junto_a_windows.cpp
    CONTENT "#include <windows.h>\n#include <shellapi.h>\n\n${capa}\n")
add_library(junto_a_windows OBJECT ${CMAKE_BINARY_DIR}/junto_a_windows.cpp)
target_link_libraries(junto_a_windows PRIVATE catalogo_ui catalogo_flags)

# The program linked with every object of both libraries, used or not, so that the linker lists every
# symbol any of them lacks.
add_executable(enlace_completo EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/src/app/main.cpp)
target_link_libraries(enlace_completo PRIVATE catalogo_ui catalogo_flags)
target_link_options(enlace_completo PRIVATE -Wl,--no-demangle
    -Wl,--whole-archive $<TARGET_FILE:catalogo_ui> $<TARGET_FILE:catalogo_core> -Wl,--no-whole-archive)
set_target_properties(enlace_completo PROPERTIES WIN32_EXECUTABLE ON)
recursos_de_windows(enlace_completo catalogo-ftp.exe)
# The console companion with the core alone: a window's symbol that it reached would stay undefined.
add_executable(enlace_consola EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/src/app/consola.cpp)
target_link_libraries(enlace_consola PRIVATE catalogo_core catalogo_flags)
target_link_options(enlace_consola PRIVATE -Wl,--no-demangle
    -Wl,--whole-archive $<TARGET_FILE:catalogo_core> -Wl,--no-whole-archive)
recursos_de_windows(enlace_consola catalogo-ftp.com)
