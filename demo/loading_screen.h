#pragma once
// The loading screen: the "CSceneTdf_loader" cut (a progress bar), created by runtime class name
// and presented by the resource manager after each loading step.

#include <memory>

#include "resources/loading_scene.h"

class CSceneTdfDefault;

class LoadingScreen : public LoadingScene {
 public:
  // Creates the "CSceneTdf_loader" object and starts it with no renderer; without that class
  // the screen stays black.
  LoadingScreen();
  ~LoadingScreen() override;

  void PresentFrame(float progress, bool clearFirst) override;
  // The three drawing steps at progress, without clearing or presenting.
  void Draw(float progress);

 private:
  std::unique_ptr<CSceneTdfDefault> mLoader;
};
