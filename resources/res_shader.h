#pragma once
// resShader: an effect file (".cg", ".fx", ".cgfx") as a resource. A file that does not build
// borrows the effect of the shared fallback "data\core\shader\dummyShader.cgfx" (holding one
// reference to it), so a broken effect never stops the demo; a broken fallback is critical.

#include <memory>

#include "render/effect/effect.h"
#include "resources/resource_object.h"

inline constexpr const char DUMMY_SHADER_PATH[] = "data\\core\\shader\\dummyShader.cgfx";

class resShader : public resourceObject {
  CORE_DECLARE_DYNAMIC(resShader)
  resShader() = default;
  ~resShader() override;

  // Builds the effect, or takes the fallback's; true unless the process ends.
  bool Load(CoreFileStream& stream) override;
  // True for the extensions "cg", "fx" and "cgfx" in any case.
  bool CanLoad(CoreFileStream& stream) override;
  // Gives the fallback back or destroys the own effect. Returns true.
  bool Unload() override;
  // Builds the stream's effect and, when it builds, puts it in place of the one in use (the
  // fallback is given back); otherwise logs why and keeps drawing with what it had.
  bool Refresh(CoreFileStream& stream) override;

  // The effect in use (this file's or the fallback's); null before Load.
  virtual cEffect* getEffect() const { return mFallback ? mFallback->getEffect() : mOwnEffect.get(); }
  virtual int passCount() const { return getEffect() ? getEffect()->passCount() : 0; }

  // The setters of cEffect on the effect in use; nothing happens before Load.
  void setParameter(const char* name, const void* values);
  void setStateMatrix(const char* name, int flags);
  void setPassState(int pass);
  void resetPassState(int pass);

  // The fallback whose effect this one borrows, or null.
  resShader* GetFallback() const { return mFallback; }

 private:
  // Null while the fallback's effect is borrowed (asked for each time, so a fallback that is
  // refreshed is followed).
  std::unique_ptr<cEffect> mOwnEffect;
  resShader* mFallback = nullptr;
};
