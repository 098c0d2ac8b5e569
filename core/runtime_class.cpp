#include "core/runtime_class.h"

#include <cstring>

#include "core/critical.h"

const CoreRuntimeClass* CoreRuntimeClass::mDynHash[DYNAMIC_HASH_NUM];

CoreRuntimeClass::CoreRuntimeClass(const char* name, const CoreRuntimeClass* base) : mName(name), mBase(base) {
  CoreCheck(name != nullptr, CRITICAL_NAME_NULL);
  CoreCheck(name[0] != '\0', CRITICAL_NAME_EMPTY);
  int hash = ClassNameSlot(name);
  CoreCheck(!mDynHash[hash], CRITICAL_HASH_CONFLICT);
  mDynHash[hash] = this;
}

CoreRuntimeClass::~CoreRuntimeClass() { mDynHash[ClassNameSlot(mName)] = nullptr; }

namespace {

// The record's name compared over its own length: the query may run on past it.
bool NameIsPrefixOf(const char* recordName, const char* query) {
  return std::strncmp(recordName, query, std::strlen(recordName)) == 0;
}

}  // namespace

const CoreRuntimeClass* FindRuntimeClass(const char* query) {
  for (const CoreRuntimeClass* record : CoreRuntimeClass::mDynHash) {
    if (record && NameIsPrefixOf(record->mName, query)) return record;
  }
  return nullptr;
}

bool IsKindOf(const CoreRuntimeClass* record, const char* query) {
  for (; record; record = record->mBase) {
    if (NameIsPrefixOf(record->mName, query)) return true;
  }
  return false;
}

CoreObject::ThisDYNAMIC CoreObject::sRuntimeClass("CoreObject", nullptr);
CoreObject* CoreObject::ThisDYNAMIC::CreateObject() const { return new CoreObject; }
