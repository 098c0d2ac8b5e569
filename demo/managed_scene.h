#pragma once
// A scene as the scene stack drives it: created by runtime class name, entered once,
// updated and drawn each frame while current, left once before it is destroyed.

#include "core/runtime_class.h"

class ManagedScene : public CoreObject {
 public:
  virtual void OnEnter() {}
  virtual void OnLeave() {}
  virtual bool OnUpdate() { return true; }
  virtual void OnDraw() {}
};
