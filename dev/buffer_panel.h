#pragma once
// The frame's buffers in the developer mode: every line buffer's colour and depth, the work
// buffers, the temporary and the final buffer as thumbnails; the one picked can be shown over the
// whole picture instead of the composed frame.

#include "render/frame_output.h"

class cTexture;

enum class BufferKind { LineColour, LineDepth, Work, Temporary, Final };

struct BufferChoice {
  BufferKind kind = BufferKind::Final;
  int index = 0;  // the line or work buffer
};

// The texture of a buffer of the running frame composition, or null (a buffer it did not make).
const cTexture* BufferTexture(const BufferChoice& choice);

class BufferPanel {
 public:
  void Draw();
  // With "over the picture" on, draws the picked buffer where the picture is.
  void DrawOverPicture(const FrameOutput::Placement& picture);

 private:
  void Thumbnail(const char* label, const BufferChoice& choice);

  BufferChoice mChoice;
  bool mOverPicture = false;
};
