# Writes a C++ source that holds every resources/<type>/<id>[_name].<ext> as
# the resource <id> of type "<type>" (layouts under xml/, images under
# image/). Run at build time with -DSOURCE_DIR and -DOUTPUT.
file(GLOB layouts "${SOURCE_DIR}/xml/*.xml" "${SOURCE_DIR}/image/*.*")
list(SORT layouts)
set(body "")
set(table "")
set(index 0)
foreach(layout IN LISTS layouts)
  get_filename_component(folder "${layout}" DIRECTORY)
  get_filename_component(type "${folder}" NAME)
  get_filename_component(stem "${layout}" NAME_WE)
  string(REGEX MATCH "^[0-9]+" id "${stem}")
  if(id STREQUAL "")
    message(FATAL_ERROR "resource file without a numeric id: ${layout}")
  endif()
  file(READ "${layout}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const uint8_t kResource${index}[] = {${bytes}0};\n")
  string(APPEND table "    {${id}, \"${type}\", {kResource${index}, sizeof kResource${index} - 1}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp" "// Generated from resources/xml at build time.
#include \"ui/Resources.h\"

#include <array>

namespace SkinUI {
namespace {

struct Resource {
    unsigned id;
    std::string_view type;
    std::span<const uint8_t> bytes;
};

${body}
const Resource kResources[] = {
${table}    {0, \"\", {}},
};

}  // namespace

std::optional<std::span<const uint8_t>> FindResource(unsigned id, std::string_view type)
{
    for (const Resource& resource : kResources) {
        if (resource.id == id && resource.type == type && !resource.bytes.empty())
            return resource.bytes;
    }
    return std::nullopt;
}

}  // namespace SkinUI
")
configure_file("${OUTPUT}.tmp" "${OUTPUT}" COPYONLY)
