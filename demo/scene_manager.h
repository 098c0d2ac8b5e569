#pragma once
// A general-purpose scene stack: a current scene created by class name, with push and pop.

#include <memory>
#include <vector>

#include "core/manager.h"
#include "demo/managed_scene.h"

class sceneManager : public Interface<sceneManager> {
  CORE_DECLARE_MANAGER(sceneManager)
  uint16_t GetPriority() const override { return 65535; }
  bool Initialize() override { return true; }
  // Leaves and destroys the stacked scenes, then the current one.
  bool Terminate() override;
  // Creates a requested scene, then updates and draws the current one.
  bool FrameUpdate() override;

  // Leaves and destroys the current scene; the named one is created on the next update.
  virtual void ChangeScene(const char* className);
  // Keeps the current scene on the stack; the named one is created on the next update.
  virtual void PushScene(const char* className);
  // Leaves and destroys the current scene and resumes the top of the stack without entering it.
  virtual void PopScene();
  // A new, entered scene of the named class; null if the name is unknown or not a scene.
  virtual std::unique_ptr<ManagedScene> CreateScene(const char* className);
  // Leaves and destroys every stacked scene, bottom first.
  virtual void ClearSceneStack();

  ManagedScene* CurrentScene() const { return mCurrentScene.get(); }
  ManagedScene* PreviousScene() const { return mPreviousScene; }
  size_t StackSize() const { return mStack.size(); }

 private:
  void DestroyCurrentScene();

  std::vector<std::unique_ptr<ManagedScene>> mStack;
  std::unique_ptr<ManagedScene> mCurrentScene;
  ManagedScene* mPreviousScene = nullptr;
  bool mChangeRequested = false;
  const char* mPendingClassName = nullptr;
  std::vector<std::unique_ptr<ManagedScene>> mDetachedScenes;
};
CORE_DECLARE_MANAGER_RECORD(sceneManager);

extern sceneManager gSceneManager;
