#include "demo/scene_manager.h"

#include "core/debug_output.h"

CORE_IMPLEMENT_MANAGER(sceneManager)

std::unique_ptr<ManagedScene> sceneManager::CreateScene(const char* className) {
  const CoreRuntimeClass* record = FindRuntimeClass(className);
  if (!record) return nullptr;
  std::unique_ptr<CoreObject> object(record->CreateObject());
  auto* scene = dynamic_cast<ManagedScene*>(object.get());
  if (!scene) return nullptr;
  object.release();
  scene->OnEnter();
  return std::unique_ptr<ManagedScene>(scene);
}

void sceneManager::DestroyCurrentScene() {
  if (!mCurrentScene) return;
  mCurrentScene->OnLeave();
  mCurrentScene.reset();
}

void sceneManager::ChangeScene(const char* className) {
  DestroyCurrentScene();
  mPendingClassName = className;
  mChangeRequested = true;
}

void sceneManager::PushScene(const char* className) {
  if (mCurrentScene) mStack.push_back(std::move(mCurrentScene));
  mPendingClassName = className;
  mChangeRequested = true;
}

void sceneManager::PopScene() {
  if (mStack.empty()) {
    // The scene is dropped without being left; it is kept, unreachable, until the manager is
    // destroyed so that it is not leaked.
    if (mCurrentScene) mDetachedScenes.push_back(std::move(mCurrentScene));
    return;
  }
  DestroyCurrentScene();
  mCurrentScene = std::move(mStack.back());
  mStack.pop_back();
}

void sceneManager::ClearSceneStack() {
  for (auto& scene : mStack) {
    scene->OnLeave();
    scene.reset();
  }
  mStack.clear();
}

bool sceneManager::FrameUpdate() {
  mPreviousScene = mCurrentScene.get();
  if (mChangeRequested) {
    mCurrentScene = CreateScene(mPendingClassName);
    mChangeRequested = false;
  }
  if (mCurrentScene && mCurrentScene->OnUpdate()) mCurrentScene->OnDraw();
  DebugText("Scene:%s Stack[%lu]", mCurrentScene ? mCurrentScene->GetRuntimeClass()->mName : "",
            static_cast<unsigned long>(mStack.size()));
  return true;
}

bool sceneManager::Terminate() {
  ClearSceneStack();
  DestroyCurrentScene();
  return true;
}
