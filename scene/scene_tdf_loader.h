#pragma once
// CSceneTdf_loader: the progress bar, a white frame around a black track with a white bar that
// grows from the centre with the phase. It is the loading screen (driven with the load progress
// and no renderer) and takes over any scene whose name begins with "loader".

#include "scene/scene_tdf_default.h"

class CSceneTdf_loader : public CSceneTdfDefault {
  CORE_DECLARE_DYNAMIC(CSceneTdf_loader)
  CSceneTdf_loader() = default;

  // Opaque black clear colour; a 45 degree 4:3 perspective left selected in the projection matrix.
  void BeginFrame(cTdfRender* renderer, float phase) override;
  // Clears, looks at the origin from (0, 0, 10) and draws the three rectangles of the bar.
  void DrawFrame(cTdfRender* renderer, float phase) override;
};

inline constexpr float LOADER_FRAME_WIDTH = 10.0f;
inline constexpr float LOADER_FRAME_HEIGHT = 0.8f;
inline constexpr float LOADER_TRACK_WIDTH = 9.75f;
inline constexpr float LOADER_TRACK_HEIGHT = 0.65f;
inline constexpr float LOADER_BAR_WIDTH = 9.5f;
inline constexpr float LOADER_BAR_HEIGHT = 0.5f;
