#pragma once
// Managers: the long-lived services of the engine. Each is one static object that registers itself
// in the manager list when constructed, starts in ascending priority, stops in descending priority
// and takes part in the frame through its hooks.

#include <cstdint>

#include "core/runtime_class.h"

constexpr int MANAGER_LIST_SIZE = 64;

class InterfaceBase;

// Entries in construction order; never removed. Zero-initialised, so registration works during
// static initialisation whatever the order of translation units.
struct ManagerList {
  InterfaceBase* mEntries[MANAGER_LIST_SIZE];
  unsigned mCount;

  // Appends manager; a full list is critical rather than a write past the table.
  void Append(InterfaceBase* manager);
};

// The process-wide list that every manager joins.
ManagerList& TheManagerList();

// Which managers take part in a start or stop: all of them in the player; the headless demo
// leaves out those that own the window and the launcher.
using ManagerFilter = bool (*)(const InterfaceBase& manager);

// Starts every manager (that filter accepts), priorities 0 to 65535, ties in list order. Stops at
// the first false Initialize (nothing started is stopped) and returns false.
bool InitializeAll(ManagerList& list = TheManagerList(), ManagerFilter filter = nullptr);

// Stops every manager (that filter accepts), priorities 65535 down to 0, ties in list order.
// Stops at the first false Terminate and returns false.
bool TerminateAll(ManagerList& list = TheManagerList(), ManagerFilter filter = nullptr);

class InterfaceBase : public CoreObject {
  CORE_DECLARE_DYNAMIC(InterfaceBase)
  InterfaceBase();
  explicit InterfaceBase(ManagerList& list);
  InterfaceBase(const InterfaceBase&) = delete;
  InterfaceBase& operator=(const InterfaceBase&) = delete;

  virtual uint16_t GetPriority() const { return 65535; }
  ~InterfaceBase() override = default;
  virtual bool Initialize() { return true; }
  virtual bool Terminate() { return true; }
  virtual bool FrameBegin() { return true; }
  virtual bool FrameUpdate() { return true; }
  virtual bool FrameEnd() { return true; }
};

// The template layer between InterfaceBase and each manager T. T declares itself with
// CORE_DECLARE_MANAGER(T) and defines its records with CORE_IMPLEMENT_MANAGER(T).
template <class T>
class Interface : public InterfaceBase {
 public:
  struct ThisDYNAMIC : CoreRuntimeClass {
    using CoreRuntimeClass::CoreRuntimeClass;
    CoreObject* CreateObject() const override { return new Interface<T>; }
  };
  static ThisDYNAMIC sRuntimeClass;

  const CoreRuntimeClass* GetRuntimeClass() const override { return &sRuntimeClass; }
  bool IsKindOf(const char* name) const override { return ::IsKindOf(&sRuntimeClass, name); }
  bool IsKindOf(const CoreRuntimeClass* record) const override { return ::IsKindOf(&sRuntimeClass, record->mName); }
};

#define CORE_DECLARE_MANAGER(Class) \
  CORE_DECLARE_DYNAMIC(Class)       \
  static constexpr const char INTERFACE_CLASS_NAME[] = "Interface<" #Class ">";

// Declares, after the class, that the Interface<Class> record is defined by CORE_IMPLEMENT_MANAGER.
#define CORE_DECLARE_MANAGER_RECORD(Class) \
  template <>                              \
  Interface<Class>::ThisDYNAMIC Interface<Class>::sRuntimeClass

#define CORE_IMPLEMENT_MANAGER(Class)                                             \
  template <>                                                                     \
  Interface<Class>::ThisDYNAMIC Interface<Class>::sRuntimeClass(                  \
      Class::INTERFACE_CLASS_NAME, &InterfaceBase::sRuntimeClass);                 \
  CORE_IMPLEMENT_DYNAMIC(Class, Interface<Class>)
