# What both cross toolchains share; the flavour's file sets
# CMAKE_SYSTEM_PROCESSOR and TOOLCHAIN_PREFIX first.
#
# The "-win32" runtime variant: its C++ library sits on Windows' own
# threading primitives, so the DLL carries no winpthread (about 30 KB) into
# every setup process that loads it. That variant (GCC 12) has no std::thread
# or std::mutex, so nothing in the build uses them: tests start threads with
# CreateThread, and GoogleTest's one use has a stand-in (tests/gtest-port/).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TOOLCHAIN_PREFIX}-windres)
set(CMAKE_DLLTOOL ${TOOLCHAIN_PREFIX}-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/${TOOLCHAIN_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
