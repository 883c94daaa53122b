# Program icon, drawn at build time by tools/icongen so the tree holds no binary images.
#
#   include(cmake/PelmoraIcon.cmake)
#   pelmora_generate_icon(<out_dir_var> [ADD_TEST])
#
# Writes into ${CMAKE_BINARY_DIR}/icon/:
#   pelmora.ico                    48, 32, 16 px at 4, 8 and 32 bpp (for the .rc file)
#   pelmora-<N>.png                N = 16 32 48 64 128 256 (desktop icons)
# through the custom target pelmora_icon (part of ALL). Make targets that consume the
# files depend on it, e.g. add_dependencies(pelmora pelmora_icon).
#
# Sets in the caller's scope:
#   <out_dir_var>                  the output directory (for the resource compiler's -I)
#   PELMORA_ICON_ICO               path of pelmora.ico
#   PELMORA_ICON_PNGS              paths of all PNGs
#   PELMORA_ICON_PNG_<N>           path of the N px PNG
#
# icongen must run on the build machine. In a native build it is an ordinary target built
# with the project's compiler. When cross compiling (e.g. to i686-w64-mingw32) that binary
# would not run here, so a custom command compiles it with PELMORA_HOST_CXX, a GCC- or
# Clang-style compiler found as c++, g++ or clang++ (set it in the cache to pick another).
#
# ADD_TEST registers the CTest test pelmora_icon_check (tests/icon/check_icon.py, needs
# Python 3); call it after enable_testing() or include(CTest).
#
# Several folders may call it (the front end and the packaging both use the files): the
# first call creates the rules, later calls only set the variables above, and their
# ADD_TEST is ignored.

include_guard(GLOBAL)

get_filename_component(_pelmora_icon_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

function(pelmora_generate_icon out_dir_var)
    cmake_parse_arguments(PARSE_ARGV 1 arg "ADD_TEST" "" "")
    if(arg_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "pelmora_generate_icon: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
    endif()
    set(source "${_pelmora_icon_root}/tools/icongen/icongen.cpp")
    set(dir "${CMAKE_BINARY_DIR}/icon")
    set(ico "${dir}/pelmora.ico")
    set(pngs "")
    foreach(size IN ITEMS 16 32 48 64 128 256)
        list(APPEND pngs "${dir}/pelmora-${size}.png")
        set(PELMORA_ICON_PNG_${size} "${dir}/pelmora-${size}.png" PARENT_SCOPE)
    endforeach()
    set(${out_dir_var} "${dir}" PARENT_SCOPE)
    set(PELMORA_ICON_ICO "${ico}" PARENT_SCOPE)
    set(PELMORA_ICON_PNGS "${pngs}" PARENT_SCOPE)

    # The front end and the packaging both want the files; the second caller only
    # needs their paths, the rules already exist.
    if(TARGET pelmora_icon)
        return()
    endif()

    if(CMAKE_CROSSCOMPILING)
        # The toolchain file may restrict find_program to the target root; the host
        # compiler lives outside it.
        find_program(PELMORA_HOST_CXX NAMES c++ g++ clang++ NO_CMAKE_FIND_ROOT_PATH
                     DOC "C++20 compiler for the build machine, used to build icongen")
        if(NOT PELMORA_HOST_CXX)
            message(FATAL_ERROR "pelmora_generate_icon: no host C++ compiler found for icongen; "
                                "set PELMORA_HOST_CXX")
        endif()
        set(generator "${CMAKE_BINARY_DIR}/icongen-host")
        if(CMAKE_HOST_WIN32)
            string(APPEND generator ".exe")
        endif()
        add_custom_command(
            OUTPUT "${generator}"
            COMMAND "${PELMORA_HOST_CXX}" -std=c++20 -O2 -o "${generator}" "${source}"
            DEPENDS "${source}"
            COMMENT "Building icongen with the host compiler"
            VERBATIM)
        set(generator_command "${generator}")
        set(generator_dependency "${generator}")
    else()
        add_executable(pelmora_icongen "${source}")
        set_target_properties(pelmora_icongen PROPERTIES
            OUTPUT_NAME icongen
            CXX_STANDARD 20
            CXX_STANDARD_REQUIRED ON
            CXX_EXTENSIONS OFF)
        set(generator_command "$<TARGET_FILE:pelmora_icongen>")
        set(generator_dependency pelmora_icongen)
    endif()

    add_custom_command(
        OUTPUT "${ico}" ${pngs}
        COMMAND "${generator_command}" "${dir}"
        DEPENDS "${generator_dependency}"
        COMMENT "Drawing the Pelmora icon"
        VERBATIM)
    add_custom_target(pelmora_icon ALL DEPENDS "${ico}" ${pngs})

    if(arg_ADD_TEST)
        # Runs on the build machine, even when cross compiling (function scope only).
        set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
        find_package(Python3 REQUIRED COMPONENTS Interpreter)
        add_test(NAME pelmora_icon_check
                 COMMAND "${Python3_EXECUTABLE}" "${_pelmora_icon_root}/tests/icon/check_icon.py"
                         "${ico}" "${dir}")
    endif()

endfunction()
