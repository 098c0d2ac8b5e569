#include "core/flag_manager.h"

CORE_IMPLEMENT_MANAGER(flagManager)

bool flagManager::Initialize() {
  AddFlag("RENDERER_NO_TEXTURE", 0);
  AddFlag("RENDERER_WIREFRAME", 0);
  return true;
}

bool flagManager::FrameUpdate() {
  mFlagCountSeen = static_cast<int32_t>(mFlags.size());
  return true;
}

void flagManager::AddFlag(const std::string& name, int32_t value) { mFlags.emplace(name, value); }

bool flagManager::IsFlagSet(const std::string& name) const { return GetFlag(name) != 0; }

void flagManager::SetFlagOn(const std::string& name) { SetFlag(name, 1); }

void flagManager::SetFlagOff(const std::string& name) { SetFlag(name, 0); }

void flagManager::SetFlag(const std::string& name, int32_t value) {
  auto found = mFlags.find(name);
  if (found != mFlags.end()) found->second = value;
}

int32_t flagManager::GetFlag(const std::string& name) const {
  auto found = mFlags.find(name);
  return found == mFlags.end() ? 0 : found->second;
}
