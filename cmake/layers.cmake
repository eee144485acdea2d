# The layers and their direction: app -> ui -> engine -> framework -> the platform seam
# (platform/*.h) <- backends. Each layer is a target of its own, linked privately, so a call
# against the direction does not link; kestrin_layer() makes an include against it fail the
# build.
#
#   kestrin_layer(<target> FOLDERS <folders> ALLOW <include prefixes>
#                 [DENY <prefixes>] [EXCEPT <file names>] [STANDARD_ONLY])
# ALLOW lists the quoted includes the layer's files may use; STANDARD_ONLY allows no angle
# include but the standard library's. EXCEPT names entry points that may glue layers together.
set(KESTRIN_SEAM_HEADERS platform/platform.h platform/dialog_template.h platform/resources.h
    platform/window_values.h platform/tick_pacer.h)

function(kestrin_layer target)
    cmake_parse_arguments(L "STANDARD_ONLY" "" "FOLDERS;ALLOW;DENY;EXCEPT" ${ARGN})
    set(files "")
    foreach(folder IN LISTS L_FOLDERS)
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h
             ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
        list(APPEND files ${found})
    endforeach()
    foreach(name IN LISTS L_EXCEPT)
        list(FILTER files EXCLUDE REGEX "/${name}$")
    endforeach()
    set(system any)
    if(L_STANDARD_ONLY)
        set(system std)
    endif()
    string(JOIN "|" files_arg ${files})
    string(JOIN "|" allow_arg ${L_ALLOW})
    string(JOIN "|" deny_arg ${L_DENY})
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.layer-checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DLAYER=${target} -DFILES=${files_arg} -DALLOW=${allow_arg}
                -DDENY=${deny_arg} -DSYSTEM=${system} -DSTAMP=${stamp}
                -P ${PROJECT_SOURCE_DIR}/cmake/check_layer.cmake
        DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/check_layer.cmake
        COMMENT "Checking the includes of ${target}" VERBATIM)
    add_custom_target(${target}_layer DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layer)
endfunction()
