# Import libraries for system DLLs whose functions are imported by ordinal.
# Each src/**/imports/<Dll>.def lists "Symbol@N @ordinal NONAME" lines; dlltool
# turns it into an import library. MinGW's own libraries import by name, so
# they must not be used for these DLLs.
# Subsystems may sit more than one folder deep (src/SERVICES/Library), and a
# recursive glob only recurses at its last component, so filter instead.
file(GLOB_RECURSE ORDINAL_IMPORT_DEFS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.def)
list(FILTER ORDINAL_IMPORT_DEFS INCLUDE REGEX "/imports/[^/]+\\.def$")
set(CVI_ORDINAL_IMPORT_LIBS "")
foreach(def ${ORDINAL_IMPORT_DEFS})
    get_filename_component(name ${def} NAME_WE)
    set(lib ${CMAKE_BINARY_DIR}/lib/lib${name}_ordinals.a)
    add_custom_command(
        OUTPUT ${lib}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/lib
        COMMAND ${CMAKE_DLLTOOL} -d ${def} -l ${lib}
        DEPENDS ${def}
        COMMENT "Ordinal import library for ${name}")
    list(APPEND CVI_ORDINAL_IMPORT_LIBS ${lib})
endforeach()
add_custom_target(cvi_ordinal_imports DEPENDS ${CVI_ORDINAL_IMPORT_LIBS})

# System libraries the product calls by name.
set(CVI_SYSTEM_LIBS advapi32 user32 ole32 oleaut32)

function(cvi_link_system_imports target)
    add_dependencies(${target} cvi_ordinal_imports)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "STATIC_LIBRARY")
        target_link_libraries(${target} INTERFACE ${CVI_ORDINAL_IMPORT_LIBS} ${CVI_SYSTEM_LIBS})
    else()
        target_link_libraries(${target} PRIVATE ${CVI_ORDINAL_IMPORT_LIBS} ${CVI_SYSTEM_LIBS})
    endif()
endfunction()
