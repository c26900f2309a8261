# Cross-builds for 64-bit Windows with Debian's mingw-w64 (the POSIX-thread compilers, which
# std::thread and std::mutex need). The prefix holding Qt, GDAL and the rest comes from
# MARLITH_WINDOWS_PREFIX (a cache variable or the environment); scripts/windows-sysroot
# prints it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_mingw x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)

if(NOT MARLITH_WINDOWS_PREFIX AND DEFINED ENV{MARLITH_WINDOWS_PREFIX})
    set(MARLITH_WINDOWS_PREFIX $ENV{MARLITH_WINDOWS_PREFIX})
endif()
# Otherwise the one scripts/windows-sysroot finds (it unpacks an archive when that is all
# there is, and never builds here).
if(NOT MARLITH_WINDOWS_PREFIX)
    execute_process(COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-sysroot --find
                    OUTPUT_VARIABLE MARLITH_WINDOWS_PREFIX OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE _marlith_found)
    if(NOT _marlith_found EQUAL 0)
        message(FATAL_ERROR "No Windows prefix: run scripts/windows-sysroot, or set MARLITH_WINDOWS_SYSROOT")
    endif()
endif()
set(MARLITH_WINDOWS_PREFIX "${MARLITH_WINDOWS_PREFIX}" CACHE PATH "The Windows prefix with Qt, GDAL and the rest")
# try_compile projects see the toolchain file again, without the cache.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MARLITH_WINDOWS_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw} ${MARLITH_WINDOWS_PREFIX})
if(MARLITH_WINDOWS_PREFIX)
    list(PREPEND CMAKE_PREFIX_PATH ${MARLITH_WINDOWS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's tools (moc, rcc, uic) run on this machine: Debian's Qt 6 of the same version.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")
