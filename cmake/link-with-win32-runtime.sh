#!/bin/sh
# Link launcher for the DLL: the same command with the "-win32" variant of
# the MinGW driver, whose C++ runtime uses Windows' own threading primitives.
# The "-posix" runtime would add the winpthread library (about 30 KB) to
# every setup process that loads the DLL. The objects are the same either
# way: product code uses no thread facilities of the C++ library.
driver="$1"
shift
exec "$(echo "$driver" | sed 's/-posix$/-win32/')" "$@"
