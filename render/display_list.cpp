#include "render/display_list.h"

#include "render/drawing_path.h"
#include "render/immediate_draw_paths.h"

namespace webgl {

namespace {

unsigned CompileList(const std::function<void()>& draw) {
  const unsigned list = BeginList();
  draw();
  EndList();
  return list;
}

}  // namespace

}  // namespace webgl

unsigned CompileDisplayList(const std::function<void()>& draw) { return TORVANE_ON_DRAWING_PATH(CompileList(draw)); }

void CallDisplayList(unsigned list) { TORVANE_ON_DRAWING_PATH(CallList(list)); }

void DeleteDisplayList(unsigned list) { TORVANE_ON_DRAWING_PATH(DeleteList(list)); }
