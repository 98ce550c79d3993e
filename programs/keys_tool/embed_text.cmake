# Writes the bytes of INPUT into OUTPUT as the text of shippedSettings(), so
# that the program carries the file exactly as released.
file(READ ${INPUT} hex HEX)
# Sixteen bytes a line, each its own literal so that no escape runs into the next.
string(REGEX REPLACE "(................................)" "\\1\n    " hex "${hex}")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\"\\\\x\\1\"" text "${hex}")
file(WRITE ${OUTPUT}.new
  "// Made at build time from ${NAME}; do not edit.\n"
  "#include \"keys_tool/shipped_settings.h\"\n\n"
  "namespace sashcaster::keys_tool {\n\n"
  "std::string_view shippedSettings() {\n"
  "  static constexpr char text[] =\n    ${text};\n"
  "  return {text, sizeof text - 1};\n"
  "}\n\n"
  "}  // namespace sashcaster::keys_tool\n")
# Unchanged text keeps its time stamp, so nothing is rebuilt for nothing.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
