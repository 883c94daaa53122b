# Cross build for Windows with Debian's mingw-w64: 32-bit (g++-mingw-w64-i686) by default,
# the program's only shipped form. PELMORA_WINDOWS_ARCH=x86_64 builds the same sources as
# a 64-bit program (g++-mingw-w64-x86-64), which the checks run where the machine cannot
# execute 32-bit code.
set(PELMORA_WINDOWS_ARCH i686 CACHE STRING "Windows target: i686 or x86_64")
set_property(CACHE PELMORA_WINDOWS_ARCH PROPERTY STRINGS i686 x86_64)
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PELMORA_WINDOWS_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${PELMORA_WINDOWS_ARCH})
set(triple ${PELMORA_WINDOWS_ARCH}-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${triple}-gcc-posix ${triple}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${triple}-g++-posix ${triple}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${triple}-windres REQUIRED)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The stack protector, whose runtime (libssp) mingw-w64 links statically. The Linux
# program's hardening comes from dpkg-buildflags when debian/rules builds it; a cross build
# for Windows has no such source, so it is named here.
set(CMAKE_CXX_FLAGS_INIT -fstack-protector-strong)
set(CMAKE_EXE_LINKER_FLAGS_INIT -fstack-protector-strong)
