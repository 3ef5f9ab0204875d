# Fails when clang-format would change any C++ file of the project.
file(GLOB_RECURSE files ${ROOT}/src/*.cpp ${ROOT}/src/*.h ${ROOT}/tests/*.cpp ${ROOT}/tests/*.h
     ${ROOT}/bench/*.cpp ${ROOT}/bench/*.h)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${files} RESULT_VARIABLE rc ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "clang-format would change these files:\n${out}")
endif()
