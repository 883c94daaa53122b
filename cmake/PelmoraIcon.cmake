# Program icon, made at build time from the drawings in packaging/icons/ with rsvg-convert
# (librsvg2-bin), ImageMagick's convert and icotool (icoutils). They run on the build
# machine, so a cross build needs them there and no compiler for it.
#
#   include(cmake/PelmoraIcon.cmake)
#   pelmora_generate_icon(<out_dir_var>)
#
# Writes into ${CMAKE_BINARY_DIR}/icon/:
#   pelmora.ico                    48, 32, 16 px at 32, 8 and 4 bpp (for the .rc file)
#   pelmora-<N>.png                N = 16 32 48 64 128 256 (desktop icons)
# through the custom target pelmora_icon (part of ALL). Make targets that consume the
# files depend on it, e.g. add_dependencies(pelmora pelmora_icon).
#
# Sets in the caller's scope:
#   <out_dir_var>                  the output directory (for the resource compiler's -I)
#   PELMORA_ICON_ICO               path of pelmora.ico
#   PELMORA_ICON_PNGS              paths of all PNGs
#   PELMORA_ICON_PNG_<N>           path of the N px PNG
#   PELMORA_ICON_SVG               the scalable drawing (for the hicolor theme)
#
# Several folders may call it (the front ends, the packaging and the tests use the files):
# the first call creates the rules, later calls only set the variables above.

include_guard(GLOBAL)

function(pelmora_generate_icon out_dir_var)
    cmake_path(SET drawings NORMALIZE "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../packaging/icons")
    set(dir "${CMAKE_BINARY_DIR}/icon")
    set(ico "${dir}/pelmora.ico")
    set(sizes 16 32 48 64 128 256)
    set(pngs "")
    foreach(size IN LISTS sizes)
        list(APPEND pngs "${dir}/pelmora-${size}.png")
        set(PELMORA_ICON_PNG_${size} "${dir}/pelmora-${size}.png" PARENT_SCOPE)
    endforeach()
    set(${out_dir_var} "${dir}" PARENT_SCOPE)
    set(PELMORA_ICON_ICO "${ico}" PARENT_SCOPE)
    set(PELMORA_ICON_PNGS "${pngs}" PARENT_SCOPE)
    set(PELMORA_ICON_SVG "${drawings}/pelmora.svg" PARENT_SCOPE)

    if(TARGET pelmora_icon)
        return()
    endif()

    # Tools of the build machine, whatever root a cross toolchain searches.
    find_program(PELMORA_RSVG_CONVERT rsvg-convert REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    find_program(PELMORA_IM_CONVERT convert REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    find_program(PELMORA_ICOTOOL icotool REQUIRED NO_CMAKE_FIND_ROOT_PATH)
    file(MAKE_DIRECTORY "${dir}/palette")

    foreach(size IN LISTS sizes)
        set(svg "${drawings}/pelmora.svg")
        if(size EQUAL 16)
            set(svg "${drawings}/pelmora-16.svg")
        endif()
        add_custom_command(
            OUTPUT "${dir}/pelmora-${size}.png"
            COMMAND "${PELMORA_RSVG_CONVERT}" -w ${size} -h ${size} -o "${dir}/pelmora-${size}.png"
                    "${svg}"
            DEPENDS "${svg}"
            VERBATIM)
    endforeach()

    # Full colour first, so tools that take the first image get the best one. icotool keeps
    # a palette depth only for an image with nothing but opaque and clear pixels and at most
    # that many colours, counting the black it gives the clear ones; so convert cuts the
    # alpha at half, where icotool's mask cuts it, and leaves one colour for that black.
    set(ico_arguments "")
    set(ico_inputs "")
    foreach(bits IN ITEMS 32 8 4)
        list(APPEND ico_arguments -b ${bits})
        foreach(size IN ITEMS 48 32 16)
            set(image "${dir}/pelmora-${size}.png")
            if(bits LESS 32)
                math(EXPR colours "(1 << ${bits}) - 1")
                set(reduced "${dir}/palette/pelmora-${size}-${bits}.png")
                add_custom_command(
                    OUTPUT "${reduced}"
                    COMMAND "${PELMORA_IM_CONVERT}" "${image}" -channel A -threshold 50% +channel
                            +dither -colors ${colours} -define png:exclude-chunks=date,time
                            "PNG32:${reduced}"
                    DEPENDS "${image}"
                    VERBATIM)
                set(image "${reduced}")
            endif()
            list(APPEND ico_arguments "${image}")
            list(APPEND ico_inputs "${image}")
        endforeach()
    endforeach()
    add_custom_command(
        OUTPUT "${ico}"
        COMMAND "${PELMORA_ICOTOOL}" -c -o "${ico}" ${ico_arguments}
        DEPENDS ${ico_inputs}
        COMMENT "Making pelmora.ico"
        VERBATIM)
    add_custom_target(pelmora_icon ALL DEPENDS "${ico}" ${pngs})
endfunction()
