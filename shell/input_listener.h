#pragma once
// An input listener slot: a receiver and the operation to call on it. An empty slot is skipped.
//   gSystemManager.SetKeyReleasedListener({this, [](void* self, uint32_t key) {
//     static_cast<demoManager*>(self)->OnKeyReleased(key);
//   }});

template <class... Args>
struct InputListener {
  void* mReceiver = nullptr;
  void (*mOperation)(void* receiver, Args... args) = nullptr;

  void operator()(Args... args) const {
    if (mReceiver && mOperation) mOperation(mReceiver, args...);
  }
};
