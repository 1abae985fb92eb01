# cmake -DINPUT=<file> -DOUTPUT=<file.cpp> -DNAME=<symbol> -P EmbedBytes.cmake
# Writes a C++ source that holds the bytes of INPUT as sirelo::<NAME>[] and
# sirelo::<NAME>Size (the array ends in one zero byte more).
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
  "// Generated from ${INPUT}; do not edit.\n"
  "#include <cstddef>\n\nnamespace sirelo {\n\n"
  "extern const char ${NAME}[];\nextern const std::size_t ${NAME}Size;\n"
  "const char ${NAME}[] = {\n    ${bytes}'\\0'};\n"
  "const std::size_t ${NAME}Size = ${size};\n\n}  // namespace sirelo\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
