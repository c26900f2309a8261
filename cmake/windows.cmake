# A build for Windows made on Linux: the tests and the end-to-end run go through Wine, by a
# small wrapper that knows where the Windows prefix and the compiler's runtime DLLs are.

if(NOT CMAKE_CROSSCOMPILING)
    return()
endif()

find_program(MARLITH_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine)
find_program(MARLITH_WINESERVER NAMES wineserver64 wineserver PATHS /usr/lib/wine /usr/lib64/wine)
if(NOT MARLITH_WINE)
    message(WARNING "No Wine: the Windows build's tests cannot run here")
    return()
endif()

# The runtime DLLs of the -posix compilers (libstdc++, libgcc, winpthread).
set(_marlith_runtime_dirs)
foreach(dll libstdc++-6.dll libwinpthread-1.dll libgcc_s_seh-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(dir ${path} DIRECTORY)
    get_filename_component(dir ${dir} REALPATH)
    list(APPEND _marlith_runtime_dirs ${dir})
endforeach()
list(REMOVE_DUPLICATES _marlith_runtime_dirs)
set(MARLITH_WINDOWS_RUNTIME_DIRS ${_marlith_runtime_dirs} CACHE INTERNAL "")

# Wine takes Unix paths as drive Z:.
set(MARLITH_WINE_PATH "Z:${MARLITH_WINDOWS_PREFIX}/bin")
foreach(dir ${_marlith_runtime_dirs})
    string(APPEND MARLITH_WINE_PATH ";Z:${dir}")
endforeach()
set(MARLITH_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)

configure_file(${CMAKE_CURRENT_LIST_DIR}/windows/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
               @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
               GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()
