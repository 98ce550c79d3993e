# Writes every catalogue FOLDER/TAG.txt into OUTPUT as embeddedCatalogues(),
# byte for byte, so that the programs carry their messages with them.
file(GLOB files ${FOLDER}/*.txt)
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(file IN LISTS files)
  get_filename_component(tag ${file} NAME_WE)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # Bytes rather than a string literal: no compiler limits an array's length.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
  string(APPEND arrays "const unsigned char catalogue${index}[] = {\n    ${bytes}0};\n")
  string(APPEND entries "    {\"${tag}\", {reinterpret_cast<const char*>(catalogue${index}), ${size}}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.new
  "// Made at build time from programs/messages; do not edit.\n"
  "#include \"i18n/catalogue.h\"\n\n"
  "namespace sashcaster::i18n {\n\nnamespace {\n\n${arrays}\n}  // namespace\n\n"
  "std::span<const EmbeddedCatalogue> embeddedCatalogues() {\n"
  "  static const EmbeddedCatalogue catalogues[] = {\n${entries}  };\n"
  "  return catalogues;\n"
  "}\n\n"
  "}  // namespace sashcaster::i18n\n")
# Unchanged text keeps its time stamp, so nothing is rebuilt for nothing.
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
