#include "render/intermediate_command.h"

#include "core/debug_output.h"
#include "render/immediate_draw.h"

CORE_IMPLEMENT_MANAGER(intermediateCommand)

namespace {

constexpr GLfloat LAYER_ALPHA_REFERENCE = 0.001f;
constexpr GLfloat FRAME_ALPHA_REFERENCE = 0.0001f;

void AlphaBlending(GLenum source, GLenum destination) {
  glEnable(GL_BLEND);
  glBlendFunc(source, destination);
}

void AlphaTestGreater(GLfloat reference) { SetAlphaTest(true, GL_GREATER, reference); }

// Lists 0, 1 and 4 keep the state that the frame or the previous list left.
void SetListBlending(int list) {
  switch (list) {
    case 2:
      glDisable(GL_BLEND);
      SetAlphaTest(false);
      break;
    case 3:
      AlphaBlending(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      AlphaTestGreater(LAYER_ALPHA_REFERENCE);
      break;
    case 5:
      AlphaBlending(GL_DST_COLOR, GL_ZERO);
      AlphaTestGreater(LAYER_ALPHA_REFERENCE);
      break;
    case 6:
      AlphaBlending(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
      SetAlphaTest(false);
      break;
    default:
      break;
  }
}

void ExecuteList(const CommandPool& list) {
  uint8_t* cursor = list.mBegin;
  for (uint32_t i = 0; i < list.mCount; ++i) {
    auto* command = reinterpret_cast<cmdBase*>(cursor);
    command->execute();
    cursor += command->mSize;
  }
}

}  // namespace

bool intermediateCommand::Initialize() {
  mMetaPool.Reserve(META_POOL_SIZE);
  mMatPool.Reserve(MAT_POOL_SIZE);
  for (CommandPool& list : mCmdLists) list.Reserve(COMMAND_LIST_SIZE);
  return true;
}

bool intermediateCommand::Terminate() {
  for (CommandPool& list : mCmdLists) list.Release();
  mMatPool.Release();
  mMetaPool.Release();
  mCurrentMaterial = nullptr;
  mCurrentList = 0;
  return true;
}

bool intermediateCommand::FrameUpdate() {
  size_t commandBytesUsed = 0;
  for (const CommandPool& list : mCmdLists) commandBytesUsed += list.Used();
  DebugText("mat[%8lu]/cmd[%8lu]/meta[%8lu]", static_cast<unsigned long>(mMatPool.Used()),
            static_cast<unsigned long>(commandBytesUsed), static_cast<unsigned long>(mMetaPool.Used()));
  return true;
}

void intermediateCommand::beginDraw() {
  mCurrentList = DRAW_LIST;
  Record<cmdBeginDraw>();
}

void intermediateCommand::endDraw() {
  Record<cmdEndDraw>();
  mCurrentList = 0;
}

RenderMaterial* intermediateCommand::newMaterial() {
  void* place = mMatPool.Take(sizeof(RenderMaterial));
  if (!place) {
    Refuse("material pool");
    mSpareMaterial = RenderMaterial{};
    return &mSpareMaterial;
  }
  return new (place) RenderMaterial{};
}

bool intermediateCommand::SelectList(int index) {
  if (index < 0 || index >= COMMAND_LIST_NUM) return false;
  mCurrentList = index;
  return true;
}

void intermediateCommand::replay() {
  for (int i = 0; i < COMMAND_LIST_NUM; ++i) {
    SetListBlending(i);
    ExecuteList(mCmdLists[i]);
  }
  AlphaBlending(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  AlphaTestGreater(FRAME_ALPHA_REFERENCE);
}

void intermediateCommand::reset() {
  for (CommandPool& list : mCmdLists) list.Rewind();
  mMatPool.Rewind();
  mMetaPool.Rewind();
}

void intermediateCommand::Refuse(const char* what) {
  if (mRefused++ == 0) DebugText("intermediateCommand: %s full, recording refused (reported once)", what);
}
