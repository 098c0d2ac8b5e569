#pragma once
// The layer rule of the source tree: a file may include headers of its own layer and of the layers
// below it, never above. Layers are top-level folders, and a few sub-folders that sit below the
// rest of their folder (render/image, render/effect).

#include <string>
#include <vector>

// Bottom first.
inline const std::vector<std::string> ENGINE_LAYERS = {
    "platform", "core", "files", "sound", "window", "render/image", "render/effect", "render",
    "resources", "production", "scene", "shell", "demo", "dev", "app", "web", "tools"};

struct LayerViolation {
  std::string file;  // relative to the tree's root
  int line;
  std::string included;
  std::string reason;
};

// The layer of a path relative to the root ("render/effect/parser.h" -> "render/effect"): the
// longest layer that is a folder prefix of it; empty when none is.
std::string LayerOf(const std::string& path, const std::vector<std::string>& layers);

// Every include in the .h and .cpp files under the layers' folders of root that points to a higher
// layer, and every SDL2 or FLTK header included outside platform.
std::vector<LayerViolation> FindLayerViolations(const std::string& root, const std::vector<std::string>& layers);

// "file:line: includes "X": reason".
std::string Describe(const LayerViolation& violation);
