# Concatenates the files given in INPUTS (a ;-list, in that order) and writes
# them as a byte array into OUTPUT, behind the function NAME().
set(content "")
foreach(f ${INPUTS})
  file(READ "${f}" part HEX)
  string(APPEND content "${part}")
  # keep files apart even when one lacks its last newline
  string(APPEND content "0a")
endforeach()
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${content}")
string(LENGTH "${content}" hexlen)
math(EXPR len "${hexlen} / 2")
file(WRITE "${OUTPUT}.tmp"
"// Generated at build time from the resource texts; do not edit.
#include <string_view>
namespace {
const char kData[] = {${bytes} 0};
}
std::string_view ${NAME}() { return std::string_view(kData, ${len}); }
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
