# The platform-free pieces of src/ (no Windows headers), shared with the
# Windows build unchanged.
set(CORE_SOURCES
    ${SRC}/frame/find_string.cpp
    ${SRC}/frame/format_bounded.cpp
    ${SRC}/webserver/filter_names.cpp
    ${SRC}/webserver/host_names.cpp
    ${SRC}/webserver/aspnet/append_bounded.cpp
    ${SRC}/security/security_target.cpp
    ${SRC}/security/dacl_messages.cpp
    ${SRC}/SERVICES/Library/exception.cpp
    ${SRC}/SERVICES/Library/profile_failure.cpp
)
