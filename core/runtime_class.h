#pragma once
// Runtime classes: every class of the object model has a static record (name, base record) in a
// table keyed by the MD5 of the class name. Records answer kind tests and create objects by name.

#include "core/class_hash.h"

class CoreObject;

class CoreRuntimeClass {
 public:
  // Registers the record in its slot; a null or empty name or an occupied slot is critical.
  CoreRuntimeClass(const char* name, const CoreRuntimeClass* base);
  virtual ~CoreRuntimeClass();
  CoreRuntimeClass(const CoreRuntimeClass&) = delete;
  CoreRuntimeClass& operator=(const CoreRuntimeClass&) = delete;

  virtual CoreObject* CreateObject() const = 0;

  const char* mName;
  const CoreRuntimeClass* mBase;

  // One record per slot, null where empty. Zero-initialised before any record registers.
  static const CoreRuntimeClass* mDynHash[DYNAMIC_HASH_NUM];
};

// First record, in slot order, whose whole name is a prefix of query; null if none.
const CoreRuntimeClass* FindRuntimeClass(const char* query);

// True if record or one of its bases has a name that is a prefix of query.
bool IsKindOf(const CoreRuntimeClass* record, const char* query);

class CoreObject {
 public:
  struct ThisDYNAMIC : CoreRuntimeClass {
    using CoreRuntimeClass::CoreRuntimeClass;
    CoreObject* CreateObject() const override;
  };
  static ThisDYNAMIC sRuntimeClass;

  // Virtual so that objects created by name can be deleted through any base.
  virtual ~CoreObject() = default;
  virtual const CoreRuntimeClass* GetRuntimeClass() const { return &sRuntimeClass; }
  virtual bool IsKindOf(const char* name) const { return ::IsKindOf(&sRuntimeClass, name); }
  virtual bool IsKindOf(const CoreRuntimeClass* record) const { return ::IsKindOf(&sRuntimeClass, record->mName); }
};

// Declares the nested record type and the three overrides; put it first in the class body.
#define CORE_DECLARE_DYNAMIC(Class)                                                              \
 public:                                                                                         \
  struct ThisDYNAMIC : CoreRuntimeClass {                                                        \
    using CoreRuntimeClass::CoreRuntimeClass;                                                    \
    CoreObject* CreateObject() const override;                                                   \
  };                                                                                             \
  static ThisDYNAMIC sRuntimeClass;                                                              \
  const CoreRuntimeClass* GetRuntimeClass() const override { return &sRuntimeClass; }            \
  bool IsKindOf(const char* name) const override { return ::IsKindOf(&sRuntimeClass, name); }    \
  bool IsKindOf(const CoreRuntimeClass* record) const override {                                 \
    return ::IsKindOf(&sRuntimeClass, record->mName);                                            \
  }                                                                                              \
                                                                                                 \
 public:

// Defines the record of Class (named exactly as the class) with the record of Base as its base.
#define CORE_IMPLEMENT_DYNAMIC(Class, Base) CORE_IMPLEMENT_DYNAMIC_NAMED(Class, Base, #Class)

// A record whose name is not the class's own: for a scene class that only scenes asking for it
// by a name of that record's take.
#define CORE_IMPLEMENT_DYNAMIC_NAMED(Class, Base, Name)                       \
  Class::ThisDYNAMIC Class::sRuntimeClass(Name, &Base::sRuntimeClass);        \
  CoreObject* Class::ThisDYNAMIC::CreateObject() const { return new Class; }
