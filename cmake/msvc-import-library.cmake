# Writes an MSVC-style x86 import library (short import members) from a
# module definition with stdcall-decorated names. Run as a script:
#   cmake -DDEF=<file.def> -DLIB=<out.lib> -P msvc-import-library.cmake
#
# GNU dlltool's long-form members carry no safe-exception-handler marking,
# so link.exe and lld-link refuse them at their x86 default (/SAFESEH); short
# members are what the linker itself synthesises the thunks from. The
# symbols stay decorated (_Name@N, what a caller of the header references)
# while -k binds the plain exported name at load time. Member names are the
# DLL's name only, so the library carries no path of the machine it was made on.
# For x86-64 (MACHINE x86_64) the module definition has plain names already.
function(cvi_write_msvc_import_library def lib machine)
    find_program(CVI_LLVM_DLLTOOL NAMES llvm-dlltool llvm-dlltool-19 llvm-dlltool-16 llvm-dlltool-14 REQUIRED)
    if(machine STREQUAL "x86_64")
        set(options -m i386:x86-64)
    else()
        set(options -m i386 -k)
    endif()
    execute_process(COMMAND ${CVI_LLVM_DLLTOOL} ${options} -d ${def} -l ${lib}
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "llvm-dlltool could not write ${lib} from ${def}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    cvi_write_msvc_import_library(${DEF} ${LIB} "${MACHINE}")
endif()
