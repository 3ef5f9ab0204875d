# The Windows resources of both executables, from src/app/catalogo-ftp.rc.in: the icon that Explorer,
# the Start menu and the installed programs' list show (the program's own pictures, packed into an
# .ico when CMake configures), the version information of the file's properties, and the manifest
# (runs as the user who starts it, never asking for an administrator; aware of each monitor's DPI).

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(recursos ${CMAKE_BINARY_DIR}/recursos-de-windows)
set(imagenes ${PROJECT_SOURCE_DIR}/src/resources/imagenes)
set(pngs ${imagenes}/catalogo-16.png ${imagenes}/catalogo-32.png ${imagenes}/catalogo-64.png
    ${imagenes}/catalogo-128.png)
file(MAKE_DIRECTORY ${recursos})
execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_LIST_DIR}/icono.py ${recursos}/catalogo-ftp.ico ${pngs}
                COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${pngs} ${CMAKE_CURRENT_LIST_DIR}/icono.py)
configure_file(${PROJECT_SOURCE_DIR}/src/app/catalogo-ftp.manifest.in ${recursos}/catalogo-ftp.manifest @ONLY)

# Who the version information names as the maker; a shop's distributor may build with its own.
set(CATALOGO_EMPRESA "catalogo-ftp" CACHE STRING "The company line of the Windows version information")

# recursos_de_windows(TARGET FILE_NAME): the resources, with FILE_NAME as the original file name.
function(recursos_de_windows objetivo archivo)
    set(recursos ${CMAKE_BINARY_DIR}/recursos-de-windows) # called from other folders than this one's
    set(icono ${recursos}/catalogo-ftp.ico)
    set(manifiesto ${recursos}/catalogo-ftp.manifest)
    set(descripcion "${PROJECT_DESCRIPTION}")
    if(archivo MATCHES "\\.com$")
        string(APPEND descripcion " (línea de órdenes)")
    endif()
    set(rc ${recursos}/${archivo}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/src/app/catalogo-ftp.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${icono};${manifiesto}")
    target_sources(${objetivo} PRIVATE ${rc})
endfunction()
