# Turns the file IN into a C++ source OUT defining `extern const std::string_view VAR`.
file(READ ${IN} content HEX)
string(LENGTH "${content}" hexlen)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${content}")
file(WRITE ${OUT} "// Generated from ${IN}; do not edit.\n#include <string_view>\n")
file(APPEND ${OUT} "static const char data[] = {${bytes} 0};\n")
file(APPEND ${OUT} "extern const std::string_view ${VAR}(data, sizeof(data) - 1);\n")
