#include "core/manager.h"

#include "core/critical.h"

CORE_IMPLEMENT_DYNAMIC(InterfaceBase, CoreObject)

namespace {

ManagerList gManagerList;

constexpr int LOWEST_PRIORITY = 0;
constexpr int HIGHEST_PRIORITY = 65535;

}  // namespace

void ManagerList::Append(InterfaceBase* manager) {
  CoreCheck(mCount < MANAGER_LIST_SIZE, CRITICAL_MANAGER_LIST_FULL);
  mEntries[mCount++] = manager;
}

ManagerList& TheManagerList() { return gManagerList; }

InterfaceBase::InterfaceBase() { gManagerList.Append(this); }

InterfaceBase::InterfaceBase(ManagerList& list) { list.Append(this); }

bool InitializeAll(ManagerList& list, ManagerFilter filter) {
  for (int priority = LOWEST_PRIORITY; priority <= HIGHEST_PRIORITY; ++priority) {
    for (unsigned i = 0; i < list.mCount; ++i) {
      InterfaceBase* manager = list.mEntries[i];
      bool takesPart = !filter || filter(*manager);
      if (takesPart && manager->GetPriority() == priority && !manager->Initialize()) return false;
    }
  }
  return true;
}

bool TerminateAll(ManagerList& list, ManagerFilter filter) {
  for (int priority = HIGHEST_PRIORITY; priority >= LOWEST_PRIORITY; --priority) {
    for (unsigned i = 0; i < list.mCount; ++i) {
      InterfaceBase* manager = list.mEntries[i];
      bool takesPart = !filter || filter(*manager);
      if (takesPart && manager->GetPriority() == priority && !manager->Terminate()) return false;
    }
  }
  return true;
}
