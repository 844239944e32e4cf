# Writes the README's WiX block as a preprocessor include, so the test
# package is built from exactly what setup authors are told to copy.
#   cmake -DREADME=<README.md> -DOUT=<snippet.wxi> -P readme-wix-snippet.cmake
file(READ ${README} text)
string(FIND "${text}" "### From WiX" section)
if(section EQUAL -1)
    message(FATAL_ERROR "${README} has no WiX section")
endif()
string(SUBSTRING "${text}" ${section} -1 text)
if(NOT text MATCHES "```xml\n(.*)")
    message(FATAL_ERROR "the WiX section of ${README} has no xml block")
endif()
string(FIND "${CMAKE_MATCH_1}" "```" end)
string(SUBSTRING "${CMAKE_MATCH_1}" 0 ${end} block)
file(WRITE ${OUT}.tmp "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Include>\n${block}</Include>\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
