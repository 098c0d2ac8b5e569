// Feeds arbitrary scene animation text to what a demo scene computes from it without drawing: the
// cut timeline, the cut and cut phase of a scene line's phase, and every scene's camera.
#include <string>

#include "files/tdf_document.h"
#include "scene/cut_choice.h"
#include "scene/demo_scene.h"
#include "scene/scene_camera.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TdfDocument document;
  document.ParseTdfText(std::string(reinterpret_cast<const char*>(data), size), NoTdfModels);
  std::vector<float> lengths;
  for (const TdfScene& scene : document.GetScenes()) {
    lengths.push_back(SceneCutSeconds(scene));
    float length = SceneLength(scene);
    if (scene.objects.empty()) continue;
    for (float phase : {0.0f, 0.5f, 1.0f}) EvaluateSceneCamera(scene.objects.front(), phase * length);
  }
  std::vector<CutSpan> cuts = BuildCutSpans(lengths);
  int64_t range = CutTimelineLength(document);
  for (float phase : {-1.0f, 0.0f, 0.25f, 0.5f, 1.0f, 2.0f, 1e30f}) ChooseCut(cuts, phase, range);
  return 0;
}
