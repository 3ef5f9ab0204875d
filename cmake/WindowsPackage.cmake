# The Windows package: the program folder as a shop gets it, as a zip and as an installer for the
# current user (cmake/nsis/NSIS.template.in). The program keeps its settings and lists beside the
# executable, so it is installed where the user can write (%LOCALAPPDATA%\Programs), never under
# Program Files, and no administrator is asked for. Autostart is the program's own business: it
# registers itself at its first start, so the installer only removes that value again on uninstall.

install(TARGETS catalogo-ftp catalogo-ftp-consola RUNTIME DESTINATION .)

# Qt finds its plugins in these folders beside the executable; the build tree's executable gets them
# too, so that the suites run it as the package has it.
set(qt_plugins ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_PLUGINS})
add_custom_target(qt_plugins_beside_exe)
add_dependencies(catalogo-ftp qt_plugins_beside_exe)
foreach(plugin platforms/qwindows styles/qwindowsvistastyle sqldrivers/qsqlite sqldrivers/qsqlmysql)
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${qt_plugins}/${plugin}.dll DESTINATION ${folder})
    add_custom_command(TARGET qt_plugins_beside_exe POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:catalogo-ftp>/${folder}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${qt_plugins}/${plugin}.dll $<TARGET_FILE_DIR:catalogo-ftp>/${folder})
endforeach()

# Every DLL the executable and those plugins load, and the DLLs those load, taken from Qt's folder,
# the libraries' cache and the compiler's runtime; a DLL that none of those holds is Windows's own.
# Windows compares DLL names without regard to case, so the lookup does too.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE stdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libwinpthread-1.dll
                OUTPUT_VARIABLE winpthread OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(stdcxx ${stdcxx} DIRECTORY)
get_filename_component(winpthread ${winpthread} DIRECTORY)
get_filename_component(libraries ${QT6_INSTALL_PREFIX}/.. ABSOLUTE)
find_program(objdump NAMES x86_64-w64-mingw32-objdump REQUIRED)
install(CODE "
    set(dll_folders \"${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS};${libraries}/bin;${libraries}/lib;${stdcxx};${winpthread}\")
    set(objdump \"${objdump}\")
    set(strip \"${CMAKE_STRIP}\")")
install(CODE [[
    foreach(dll_folder IN LISTS dll_folders)
        file(GLOB dlls "${dll_folder}/*.dll")
        foreach(dll IN LISTS dlls)
            get_filename_component(name "${dll}" NAME)
            string(TOLOWER "${name}" name)
            if(NOT DEFINED "dll_${name}")
                set("dll_${name}" "${dll}")
            endif()
        endforeach()
    endforeach()
    set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
    file(GLOB pending "${folder}/catalogo-ftp.exe" "${folder}/catalogo-ftp.com" "${folder}/*/*.dll")
    set(seen)
    set(from_windows)
    while(pending)
        list(POP_FRONT pending binary)
        execute_process(COMMAND "${objdump}" -p "${binary}" OUTPUT_VARIABLE dump COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
        foreach(import IN LISTS imports)
            string(REGEX REPLACE "^DLL Name: " "" import "${import}")
            string(TOLOWER "${import}" name)
            list(FIND seen "${name}" at)
            if(at GREATER -1)
                continue()
            endif()
            list(APPEND seen "${name}")
            if(DEFINED "dll_${name}")
                file(INSTALL "${dll_${name}}" DESTINATION "${folder}" FOLLOW_SYMLINK_CHAIN)
                list(APPEND pending "${dll_${name}}")
            else()
                list(APPEND from_windows "${import}")
            endif()
        endforeach()
    endwhile()
    list(JOIN from_windows " " from_windows)
    message(STATUS "From Windows itself: ${from_windows}")
    # Debian's MinGW runtime and the libraries' builds keep their debugging sections, Qt's plugins too:
    # half of each file's size, of no use to a shop.
    if(CMAKE_INSTALL_DO_STRIP)
        file(GLOB_RECURSE shipped "${folder}/*.dll")
        foreach(dll IN LISTS shipped)
            execute_process(COMMAND "${strip}" --strip-unneeded "${dll}" COMMAND_ERROR_IS_FATAL ANY)
        endforeach()
    endif()
]])

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_PACKAGE_NAME catalogo-ftp)
set(CPACK_PACKAGE_VENDOR "${CATALOGO_EMPRESA}")
set(CPACK_PACKAGE_FILE_NAME catalogo-ftp-${PROJECT_VERSION}-win64)
set(CPACK_NSIS_PACKAGE_NAME "${PROJECT_DESCRIPTION}")
set(CPACK_CATALOGO_ICONO ${CMAKE_BINARY_DIR}/recursos-de-windows/catalogo-ftp.ico)
# CPack's own installer script asks for an administrator, installs for every user when it gets one and
# in Documents when it does not, and shows a licence page without a licence: the project keeps its own.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)

include(CPack)
