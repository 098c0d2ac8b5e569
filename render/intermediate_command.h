#pragma once
// intermediateCommand: the deferred render command buffer. Code anywhere in the frame records
// small commands; the renderer replays them at the end of the frame, after all direct drawing,
// and then empties the buffer. Commands go to seven lists, each replayed with a fixed blending
// state, which layers recorded work over the rest of the frame:
//   gIntermediateCommand.beginDraw();           // list 6: alpha blending, no alpha test
//   RenderMaterial* m = gIntermediateCommand.newMaterial();
//   m->red = m->green = m->blue = 0; m->alpha = 0.5f;
//   gIntermediateCommand.changeMaterial(m);
//   gIntermediateCommand.drawQuad(1, 1);
//   gIntermediateCommand.endDraw();             // back to list 0
// All memory is reserved by Initialize; recording never allocates. A command that does not fit
// its list, or a material that does not fit the pool, is refused (the first refusal is reported
// through the debug text) and the frame goes on.

#include <GL/glew.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "core/manager.h"
#include "render/command_material.h"
#include "render/command_objects.h"
#include "render/command_pool.h"
#include "render/matrix_stack.h"

constexpr int COMMAND_LIST_NUM = 7;
constexpr size_t META_POOL_SIZE = 33554432;
constexpr size_t MAT_POOL_SIZE = 8388608;
constexpr size_t COMMAND_LIST_SIZE = META_POOL_SIZE / COMMAND_LIST_NUM;
constexpr int DRAW_LIST = 6;

class intermediateCommand : public Interface<intermediateCommand> {
  CORE_DECLARE_MANAGER(intermediateCommand)
  uint16_t GetPriority() const override { return 17; }
  // Reserves the meta pool, the material pool and the seven lists.
  bool Initialize() override;
  // Frees every pool.
  bool Terminate() override;
  // Hands the bytes used by each pool to the debug text.
  bool FrameUpdate() override;

  virtual void setMaterial(RenderMaterial* material) { mCurrentMaterial = material; }
  virtual RenderMaterial* getMaterial() { return mCurrentMaterial; }

  // Selects list 6, then records the bracket's start there.
  void beginDraw();
  // Records the bracket's end in the current list, then selects list 0.
  void endDraw();
  void pushMatrix(GLenum mode) { Record<cmdPushMatrix>(mode); }
  void popMatrix(GLenum mode) { Record<cmdPopMatrix>(mode); }
  void loadIdentity(GLenum mode) { Record<cmdLoadIdentity>(mode); }
  void pushMatrix(MatrixStack stack) { pushMatrix(MatrixStackMode(stack)); }
  void popMatrix(MatrixStack stack) { popMatrix(MatrixStackMode(stack)); }
  void loadIdentity(MatrixStack stack) { loadIdentity(MatrixStackMode(stack)); }
  void ortho(float left, float right, float bottom, float top, float zNear, float zFar) {
    Record<cmdOrtho>(left, right, bottom, top, zNear, zFar);
  }
  void lookAt(float eyeX, float eyeY, float eyeZ, float centreX, float centreY, float centreZ, float upX, float upY,
              float upZ) {
    Record<cmdLookAt>(eyeX, eyeY, eyeZ, centreX, centreY, centreZ, upX, upY, upZ);
  }
  void translate(float x, float y, float z) { Record<cmdTranslate>(x, y, z); }
  void drawQuad(float width, float height) { Record<cmdDrawQuad>(width, height); }
  void changeMaterial(RenderMaterial* material) { Record<cmdChangeMaterial>(material); }

  // A default material valid until the next reset. When the pool is full, a spare record outside
  // the pool (shared by every such call) so that callers can still fill it in.
  RenderMaterial* newMaterial();

  // Selects the list (0 to 6) that recording goes to; false and no change for another index.
  bool SelectList(int index);
  int CurrentList() const { return mCurrentList; }

  // Executes every list in order, each after its blending state, and leaves alpha blending on
  // with the alpha test at GL_GREATER 0.0001.
  void replay();
  // Rewinds every list and pool; the current list and material stay.
  void reset();

  uint32_t commandCount(int list) const { return mCmdLists[list].mCount; }
  size_t CommandBytes(int list) const { return mCmdLists[list].Used(); }
  uint32_t materialCount() const { return mMatPool.mCount; }
  // Commands and materials refused for want of room since start.
  uint32_t refusedCount() const { return mRefused; }

 private:
  template <class Command, class... Args>
  void Record(Args&&... args) {
    void* place = mCmdLists[mCurrentList].Take(CommandSize<Command>());
    if (!place) {
      Refuse("command list");
      return;
    }
    new (place) Command(std::forward<Args>(args)...);
  }
  void Refuse(const char* what);

  CommandPool mMatPool;
  RenderMaterial* mCurrentMaterial = nullptr;
  int mCurrentList = 0;
  CommandPool mCmdLists[COMMAND_LIST_NUM];
  CommandPool mMetaPool;
  RenderMaterial mSpareMaterial;
  uint32_t mRefused = 0;
};
CORE_DECLARE_MANAGER_RECORD(intermediateCommand);

extern intermediateCommand gIntermediateCommand;
