# Client code for a Wayland protocol, generated at build time by wayland-scanner from the
# protocol's XML (installed by a Debian package): kestrin_wayland_protocol(<target> <xml file>)
# adds the generated C code and the directory of its header (<name>-client-protocol.h).
find_program(KESTRIN_WAYLAND_SCANNER wayland-scanner REQUIRED)
enable_language(C)

function(kestrin_wayland_protocol target xml)
    get_filename_component(name ${xml} NAME_WE)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}-protocols)
    add_custom_command(
        OUTPUT ${dir}/${name}-client-protocol.h ${dir}/${name}-protocol.c
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${KESTRIN_WAYLAND_SCANNER} client-header ${xml} ${dir}/${name}-client-protocol.h
        COMMAND ${KESTRIN_WAYLAND_SCANNER} private-code ${xml} ${dir}/${name}-protocol.c
        DEPENDS ${xml}
        VERBATIM)
    target_sources(${target} PRIVATE ${dir}/${name}-client-protocol.h ${dir}/${name}-protocol.c)
    target_include_directories(${target} PRIVATE ${dir})
endfunction()
