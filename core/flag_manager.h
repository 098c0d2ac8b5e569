#pragma once
// Named integer switches for the renderer's debugging modes.

#include <cstdint>
#include <map>
#include <string>

#include "core/manager.h"

class flagManager : public Interface<flagManager> {
  CORE_DECLARE_MANAGER(flagManager)
  uint16_t GetPriority() const override { return 65535; }
  // Registers "RENDERER_NO_TEXTURE" and "RENDERER_WIREFRAME", both 0.
  bool Initialize() override;
  bool Terminate() override { return true; }
  // Notes the number of flags as of this frame.
  bool FrameUpdate() override;

  // Inserts the pair; an existing name keeps its value.
  virtual void AddFlag(const std::string& name, int32_t value);
  virtual bool IsFlagSet(const std::string& name) const;
  virtual void SetFlagOn(const std::string& name);
  virtual void SetFlagOff(const std::string& name);
  // Changes an existing flag; an unknown name is ignored.
  virtual void SetFlag(const std::string& name, int32_t value);
  // The value, or 0 for an unknown name.
  virtual int32_t GetFlag(const std::string& name) const;

  int32_t FlagCountSeen() const { return mFlagCountSeen; }

 private:
  std::map<std::string, int32_t> mFlags;
  int32_t mFlagCountSeen = 0;
};
CORE_DECLARE_MANAGER_RECORD(flagManager);

extern flagManager gFlagManager;
