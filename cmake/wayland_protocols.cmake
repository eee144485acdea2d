# Client code for a Wayland protocol, generated at build time with wayland-scanner from the
# protocol's XML description as an installed package ships it.
#
#   kestrin_wayland_protocol(<target> <xml file>)
#
# adds the generated C code to <target> and puts "<name>-client-protocol.h" on its include
# path, <name> being the XML file's name without ".xml". Where the descriptions are:
#   KESTRIN_WAYLAND_PROTOCOLS_DIR  the wayland-protocols package's (stable/xdg-shell/...)
#   KESTRIN_WLR_PROTOCOLS_DIR      wlroots' (unstable/wlr-virtual-pointer-unstable-v1.xml),
#                                  as librust-wayland-protocols-dev ships them
find_package(PkgConfig REQUIRED)
pkg_check_modules(KESTRIN_WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(KESTRIN_WAYLAND_SCANNER wayland-scanner wayland_scanner)
if(NOT KESTRIN_WAYLAND_SCANNER)
    message(FATAL_ERROR "wayland-scanner not found (Debian package libwayland-dev)")
endif()
pkg_get_variable(KESTRIN_WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
file(GLOB kestrin_wlr_dirs LIST_DIRECTORIES true
     /usr/share/cargo/registry/wayland-protocols-*/wlr-protocols)
list(SORT kestrin_wlr_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET kestrin_wlr_dirs 0 KESTRIN_WLR_PROTOCOLS_DIR)
if(NOT KESTRIN_WAYLAND_PROTOCOLS_DIR OR NOT KESTRIN_WLR_PROTOCOLS_DIR)
    message(FATAL_ERROR "Wayland protocol descriptions not found "
                        "(Debian packages wayland-protocols, librust-wayland-protocols-dev)")
endif()
enable_language(C)

function(kestrin_wayland_protocol target xml)
    if(NOT EXISTS "${xml}")
        message(FATAL_ERROR "Wayland protocol description not found: ${xml}")
    endif()
    get_filename_component(name "${xml}" NAME_WLE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols")
    set(header "${dir}/${name}-client-protocol.h")
    set(code "${dir}/${name}-protocol.c")
    add_custom_command(OUTPUT "${header}" "${code}"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND "${KESTRIN_WAYLAND_SCANNER}" client-header "${xml}" "${header}"
        COMMAND "${KESTRIN_WAYLAND_SCANNER}" private-code "${xml}" "${code}"
        DEPENDS "${xml}"
        COMMENT "Generating the ${name} Wayland protocol code"
        VERBATIM)
    target_sources(${target} PRIVATE "${header}" "${code}")
    target_include_directories(${target} PRIVATE "${dir}")
    target_link_libraries(${target} PRIVATE PkgConfig::KESTRIN_WAYLAND_CLIENT)
endfunction()
