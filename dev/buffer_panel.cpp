#include "dev/buffer_panel.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include <imgui.h>

#include "demo/demo_manager.h"
#include "render/screen_buffer.h"
#include "render/texture.h"
#include "render/texture_manager.h"

namespace {

constexpr float THUMBNAIL_WIDTH = 112.0f;
constexpr int THUMBNAILS_PER_ROW = 5;

ImTextureID TextureId(const cTexture* texture) {
  return reinterpret_cast<ImTextureID>(static_cast<intptr_t>(gTextureManager.lookupName(texture)));
}

bool SameChoice(const BufferChoice& a, const BufferChoice& b) { return a.kind == b.kind && a.index == b.index; }

}  // namespace

const cTexture* BufferTexture(const BufferChoice& choice) {
  const FrameComposer& composer = gDemoManager.Composer();
  bool indexed = choice.index >= 0 && choice.index < POST_EFFECT_BUFFER_COUNT;
  cScreenBuffer* buffer = nullptr;
  switch (choice.kind) {
    case BufferKind::LineColour:
    case BufferKind::LineDepth: buffer = indexed ? composer.LineBuffer(choice.index) : nullptr; break;
    case BufferKind::Work: buffer = indexed ? composer.WorkBuffer(choice.index) : nullptr; break;
    case BufferKind::Temporary: buffer = composer.TemporaryBuffer(); break;
    case BufferKind::Final: buffer = composer.FinalBuffer(); break;
  }
  if (!buffer) return nullptr;
  return choice.kind == BufferKind::LineDepth ? buffer->GetDepth() : buffer->GetColor();
}

// Images are drawn with v from the texture's scale down to 0: GL keeps rows bottom first, and a
// padded texture's picture fills only its scale.
void BufferPanel::Thumbnail(const char* label, const BufferChoice& choice) {
  const cTexture* texture = BufferTexture(choice);
  ImGui::BeginGroup();
  bool picked = SameChoice(choice, mChoice);
  ImGui::TextColored(picked ? ImVec4(1.0f, 0.8f, 0.3f, 1.0f) : ImVec4(0.8f, 0.8f, 0.8f, 1.0f), "%s", label);
  float height = THUMBNAIL_WIDTH * static_cast<float>(gDemoManager.Composer().Config().height) /
                 static_cast<float>(std::max(gDemoManager.Composer().Config().width, 1));
  if (texture) {
    ImGui::PushID(label);
    ImGui::ImageButton(TextureId(texture), ImVec2(THUMBNAIL_WIDTH, height), ImVec2(0.0f, texture->GetVScale()),
                       ImVec2(texture->GetUScale(), 0.0f), 1);
    if (ImGui::IsItemClicked()) mChoice = choice;
    ImGui::PopID();
  } else {
    ImGui::Dummy(ImVec2(THUMBNAIL_WIDTH, height));
  }
  ImGui::EndGroup();
}

void BufferPanel::Draw() {
  if (!ImGui::Begin("Buffers")) {
    ImGui::End();
    return;
  }
  ImGui::Checkbox("show the picked buffer over the picture", &mOverPicture);
  struct Group {
    const char* title;
    BufferKind kind;
    const char* prefix;
  };
  for (const Group& group : {Group{"line buffers", BufferKind::LineColour, "line "},
                             Group{"line depth", BufferKind::LineDepth, "depth "},
                             Group{"work buffers", BufferKind::Work, "work "}}) {
    if (!ImGui::CollapsingHeader(group.title, ImGuiTreeNodeFlags_DefaultOpen)) continue;
    for (int i = 0; i < POST_EFFECT_BUFFER_COUNT; ++i) {
      if (i % THUMBNAILS_PER_ROW != 0) ImGui::SameLine();
      Thumbnail((group.prefix + std::to_string(i)).c_str(), {group.kind, i});
    }
  }
  if (ImGui::CollapsingHeader("temporary and final", ImGuiTreeNodeFlags_DefaultOpen)) {
    Thumbnail("temporary", {BufferKind::Temporary, 0});
    ImGui::SameLine();
    Thumbnail("final", {BufferKind::Final, 0});
  }
  ImGui::End();
}

void BufferPanel::DrawOverPicture(const FrameOutput::Placement& picture) {
  const cTexture* texture = BufferTexture(mChoice);
  if (!mOverPicture || !texture) return;
  ImVec2 from(static_cast<float>(picture.x), static_cast<float>(picture.y));
  ImVec2 to(from.x + static_cast<float>(picture.width), from.y + static_cast<float>(picture.height));
  ImGui::GetBackgroundDrawList()->AddImage(TextureId(texture), from, to, ImVec2(0.0f, texture->GetVScale()),
                                           ImVec2(texture->GetUScale(), 0.0f));
}
