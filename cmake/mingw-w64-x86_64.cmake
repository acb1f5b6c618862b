# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which Qt needs)
# against the Qt, libqrencode and libxml2 that scripts/windows/toolchain.sh builds into its cache folder.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(DRAVIK_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${DRAVIK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DRAVIK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DRAVIK_MINGW_TRIPLE}-windres)

if(DEFINED ENV{DRAVIK_MINGW_PREFIX})
    set(DRAVIK_MINGW_PREFIX "$ENV{DRAVIK_MINGW_PREFIX}")
else()
    set(DRAVIK_MINGW_PREFIX "$ENV{HOME}/.cache/dravik-mingw")
endif()

set(CMAKE_FIND_ROOT_PATH /usr/${DRAVIK_MINGW_TRIPLE} ${DRAVIK_MINGW_PREFIX} ${DRAVIK_MINGW_PREFIX}/qt)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_PREFIX_PATH ${DRAVIK_MINGW_PREFIX}/qt ${DRAVIK_MINGW_PREFIX})

# moc, rcc and uic come from the host's Qt of the same version.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/${CMAKE_HOST_SYSTEM_PROCESSOR}-linux-gnu/cmake CACHE PATH "")

# pkg-config answers for the Windows libraries only (libqrencode, libxml2), never the host's.
set(ENV{PKG_CONFIG_LIBDIR} ${DRAVIK_MINGW_PREFIX}/qrencode/lib/pkgconfig:${DRAVIK_MINGW_PREFIX}/libxml2/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# CTest runs the Windows test programs under Wine, each in a fresh Wine prefix.
get_filename_component(DRAVIK_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${DRAVIK_SOURCE_DIR}/scripts/windows/wine_run.sh)
