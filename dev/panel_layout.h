#pragma once
// Where the developer mode's panels and the picture go in a window: the picture at the top left,
// the tracks panel beside it, the timeline beneath both, the post-effects, buffers, frame
// statistics and log down the right. Nothing overlaps anything else at 1280×720 and above; below
// that the panels keep their least sizes and the picture shrinks first.

struct PanelRect {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

struct DevPanelLayout {
  PanelRect picture;  // the area the picture is fitted into, its aspect kept
  PanelRect tracks;
  PanelRect timeline;
  PanelRect postEffects;
  PanelRect buffers;
  PanelRect stats;
  PanelRect log;
};

DevPanelLayout LayOutDevPanels(int windowWidth, int windowHeight);

// Whether two rectangles share any area (touching edges do not).
bool PanelsOverlap(const PanelRect& a, const PanelRect& b);
