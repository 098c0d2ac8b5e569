#include "dev/post_effect_panel.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include <imgui.h>

#include "render/effect/effect.h"
#include "resources/post_effect_manager.h"
#include "resources/post_effect_xml.h"
#include "resources/res_shader.h"

namespace {

const char* TargetName(int32_t target) { return target == POST_EFFECT_FINAL_TARGET ? "final" : "work"; }

// The window, the pass and the target; the priority stays, since it fixed the order at load.
void DrawTimingAndTarget(PostEffectEntry& entry) {
  const uint32_t timeStep = 10;
  ImGui::DragScalar("start ms", ImGuiDataType_U32, &entry.startTime, static_cast<float>(timeStep));
  ImGui::DragScalar("end ms", ImGuiDataType_U32, &entry.endTime, static_cast<float>(timeStep));
  int passes = entry.effect ? entry.effect->passCount() : 0;
  ImGui::SliderInt("pass (-1 all)", &entry.execPass, POST_EFFECT_ALL_PASSES, std::max(passes - 1, 0));
  ImGui::SliderInt("target (-1 final)", &entry.renderTarget, POST_EFFECT_FINAL_TARGET, POST_EFFECT_BUFFER_COUNT - 1);
}

void DrawConstants(PostEffectEntry& entry) {
  for (PostEffectConstant& constant : entry.constants) {
    int components = PostEffectConstantComponents(constant.type);
    std::string label = constant.param + " (" + constant.type + ")";
    if (components == 0) {
      ImGui::Text("%s: type sets nothing", label.c_str());
      continue;
    }
    ImGui::DragScalarN(label.c_str(), ImGuiDataType_Float, constant.values, components, 0.01f);
  }
}

void DrawSources(const PostEffectEntry& entry) {
  for (const PostEffectSource& source : entry.sources) {
    const char* kind = source.kind == POST_EFFECT_COLOR ? "colour" : source.kind == POST_EFFECT_DEPTH ? "depth" : "nothing";
    const char* set = source.set == POST_EFFECT_WORK_BUFFERS ? "work buffer" : "line buffer";
    ImGui::BulletText("%s <- %s %d (%s)", source.param.c_str(), set, source.index, kind);
  }
}

void DrawEffectParameters(const PostEffectEntry& entry) {
  cEffect* effect = entry.effect ? entry.effect->getEffect() : nullptr;
  if (!effect) {
    ImGui::TextUnformatted("no effect loaded");
    return;
  }
  if (entry.effect->GetFallback()) ImGui::TextColored(ImVec4(1.0f, 0.5f, 0.4f, 1.0f), "does not build: drawn with the fallback");
  for (const EffectParameterLeaf& parameter : effect->Parameters()) {
    ImGui::BulletText("%s %s%s%s", parameter.typeName.c_str(), parameter.name.c_str(),
                      parameter.semantic.empty() ? "" : " : ", parameter.semantic.c_str());
  }
}

}  // namespace

void DrawPostEffectPanel() {
  if (!ImGui::Begin("Post-effects")) {
    ImGui::End();
    return;
  }
  if (gPostEffectManager.entryCount() == 0) ImGui::TextUnformatted("no post-effect entries: the pass-through runs");
  for (size_t i = 0; i < gPostEffectManager.entryCount(); ++i) {
    PostEffectEntry& entry = gPostEffectManager.EditEntry(i);
    ImGui::PushID(static_cast<int>(i));
    ImGui::Checkbox("##on", &entry.enabled);
    ImGui::SameLine();
    std::string title = std::to_string(i) + ": " + entry.shader + "  " + std::to_string(entry.startTime) + "-" +
                        std::to_string(entry.endTime) + " ms, prio " + std::to_string(entry.execPrio) + ", to " +
                        TargetName(entry.renderTarget) +
                        (entry.renderTarget >= 0 ? " " + std::to_string(entry.renderTarget) : "");
    if (ImGui::TreeNode("entry", "%s", title.c_str())) {
      DrawTimingAndTarget(entry);
      DrawConstants(entry);
      DrawSources(entry);
      if (ImGui::TreeNode("effect parameters")) {
        DrawEffectParameters(entry);
        ImGui::TreePop();
      }
      std::string xml = resources::PostEffectEntryXml(entry);
      if (ImGui::Button("copy as XML")) ImGui::SetClipboardText(xml.c_str());
      ImGui::TextUnformatted(xml.c_str());
      ImGui::TreePop();
    }
    ImGui::PopID();
  }
  ImGui::End();
}
