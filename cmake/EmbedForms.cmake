# Writes OUT: a C++ source that registers every form description in DIR
# (text form files *.dfm) under the class name of its root object, so that
# the library carries its forms as data.
#   cmake -DOUT=stored_forms.cpp -DDIR=dialogs/forms -P EmbedForms.cmake
file(GLOB FORMS "${DIR}/*.dfm")
list(SORT FORMS)
set(code "// Generated from the form descriptions in dialogs/forms; do not edit.\n")
string(APPEND code "#include \"dialogs/stored_forms.h\"\n\n#include \"platform/ui/forms.h\"\n\nnamespace tv {\n\n")
string(APPEND code "void RegisterStoredForms() {\n")
foreach(form IN LISTS FORMS)
  file(READ "${form}" text)
  if(NOT text MATCHES "^object [A-Za-z0-9_]+: ([A-Za-z0-9_]+)")
    message(FATAL_ERROR "${form}: no root object")
  endif()
  set(class "${CMAKE_MATCH_1}")
  file(READ "${form}" hex HEX)
  string(LENGTH "${hex}" length)
  math(EXPR size "${length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
  # Pieces of at most 16 bytes a line, each its own literal.
  string(REGEX REPLACE "((\\\\x[0-9a-f][0-9a-f]){16})" "\\1\"\n      \"" escaped "${escaped}")
  string(APPEND code "  static const char ${class}_form[] =\n      \"${escaped}\";\n")
  string(APPEND code "  RegisterFormResource(\"${class}\", std::string(${class}_form, ${size}));\n")
endforeach()
string(APPEND code "}\n\n}  // namespace tv\n")
file(WRITE "${OUT}" "${code}")
