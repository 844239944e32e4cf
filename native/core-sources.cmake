# The platform-free pieces of src/ (no Windows headers), shared with the
# Windows build unchanged.
set(CORE_SOURCES
    ${SRC}/frame/find_string.cpp
)
