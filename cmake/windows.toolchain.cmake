# Cross-builds for Windows with Debian's mingw-w64. MIRTIL_WINDOWS_TRIPLE
# names the machine: i686-w64-mingw32, the plug-in's own 32-bit Windows, or
# x86_64-w64-mingw32, where the stand-in host runs too. MIRTIL_WINDOWS_DEPS
# is the folder of the libraries built for that machine
# (scripts/windows-deps.sh); packages are found there and nowhere on this system.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT MIRTIL_WINDOWS_TRIPLE)
  set(MIRTIL_WINDOWS_TRIPLE i686-w64-mingw32)
endif()
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES MIRTIL_WINDOWS_TRIPLE MIRTIL_WINDOWS_DEPS)
string(REGEX MATCH "^[^-]+" CMAKE_SYSTEM_PROCESSOR ${MIRTIL_WINDOWS_TRIPLE})

# The posix flavour of the compilers, whose C++ runtime has the standard threads.
set(CMAKE_C_COMPILER ${MIRTIL_WINDOWS_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIRTIL_WINDOWS_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MIRTIL_WINDOWS_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MIRTIL_WINDOWS_TRIPLE} ${MIRTIL_WINDOWS_DEPS})
set(ENV{PKG_CONFIG_LIBDIR} "${MIRTIL_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
