#pragma once
// resTexture: an image file from the pack as a texture. Loading decodes the file (the decoder
// chosen by the extension), creates and uploads the texture and drops its CPU copy.

#include "resources/resource_object.h"

class cTexture;

class resTexture : public resourceObject {
  CORE_DECLARE_DYNAMIC(resTexture)
  resTexture() = default;
  ~resTexture() override;

  // Decodes and uploads; false when no decoder matches the extension or the decoder refuses.
  bool Load(CoreFileStream& stream) override;
  // True for "bmp", "jpg", "jpeg", "dds", "hdr", "tga" and "png" in any case.
  bool CanLoad(CoreFileStream& stream) override;
  // Destroys the texture. Returns true.
  bool Unload() override;
  // Decodes the stream and, when it decodes, replaces the texture; otherwise logs why and keeps it.
  bool Refresh(CoreFileStream& stream) override;

  // The texture, or null before a successful Load.
  cTexture* GetTexture() const { return mTexture; }

 private:
  cTexture* mTexture = nullptr;
};
