#include <cstring>
#include <memory>

#include <gtest/gtest.h>

#include "core/critical.h"
#include "core/manager.h"
#include "core/runtime_class.h"
#include "tests/support/critical_exit.h"

namespace {

// Classes of the test's own, registered for the lifetime of the test binary.
class TestRenderBase : public CoreObject {
  CORE_DECLARE_DYNAMIC(TestRenderBase)
};
class TestRenderDerived : public TestRenderBase {
  CORE_DECLARE_DYNAMIC(TestRenderDerived)
};

}  // namespace

CORE_IMPLEMENT_DYNAMIC(TestRenderBase, CoreObject)
CORE_IMPLEMENT_DYNAMIC(TestRenderDerived, TestRenderBase)

namespace {

struct StubRecord : CoreRuntimeClass {
  using CoreRuntimeClass::CoreRuntimeClass;
  CoreObject* CreateObject() const override { return nullptr; }
};

TEST(ClassNameSlot, MatchesTheMd5SumOfTheTwoHalves) {
  EXPECT_EQ(ClassNameSlot("abc"), 3874);
  EXPECT_EQ(ClassNameSlot("CoreObject"), ClassNameSlot("CoreObject"));
  for (int slot : {ClassNameSlot("a"), ClassNameSlot("systemManager"), ClassNameSlot("Interface<demoManager>")}) {
    EXPECT_GE(slot, 0);
    EXPECT_LT(slot, DYNAMIC_HASH_NUM);
  }
}

TEST(RuntimeClass, RecordsSitInTheSlotOfTheirName) {
  int found = 0;
  for (int slot = 0; slot < DYNAMIC_HASH_NUM; ++slot) {
    const CoreRuntimeClass* record = CoreRuntimeClass::mDynHash[slot];
    if (!record) continue;
    ++found;
    EXPECT_EQ(ClassNameSlot(record->mName), slot) << record->mName;
  }
  EXPECT_GE(found, 37);
}

TEST(RuntimeClass, ManagerChainsAreSpelledOutWithTheirTemplateLayer) {
  const CoreRuntimeClass* manager = FindRuntimeClass("systemManager");
  ASSERT_NE(manager, nullptr);
  EXPECT_STREQ(manager->mName, "systemManager");
  ASSERT_NE(manager->mBase, nullptr);
  EXPECT_STREQ(manager->mBase->mName, "Interface<systemManager>");
  EXPECT_STREQ(manager->mBase->mBase->mName, "InterfaceBase");
  EXPECT_STREQ(manager->mBase->mBase->mBase->mName, "CoreObject");
  EXPECT_EQ(manager->mBase->mBase->mBase->mBase, nullptr);
}

TEST(RuntimeClass, RegistrationAndDestructionFillAndEmptyTheSlot) {
  const char* name = "TestTemporaryRecord";
  {
    StubRecord record(name, &CoreObject::sRuntimeClass);
    EXPECT_EQ(CoreRuntimeClass::mDynHash[ClassNameSlot(name)], &record);
    EXPECT_EQ(FindRuntimeClass(name), &record);
  }
  EXPECT_EQ(CoreRuntimeClass::mDynHash[ClassNameSlot(name)], nullptr);
  EXPECT_EQ(FindRuntimeClass(name), nullptr);
}

TEST(FindRuntimeClass, AQueryThatRunsOnPastARegisteredNameFindsIt) {
  const CoreRuntimeClass* found = FindRuntimeClass("TestRenderBaseX");
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->mName, "TestRenderBase");
}

TEST(FindRuntimeClass, WhenSeveralNamesArePrefixesTheLowestSlotWins) {
  // "TestRenderBase" and "TestRenderBaseLong" are both prefixes of the query.
  StubRecord longer("TestRenderBaseLong", &CoreObject::sRuntimeClass);
  int baseSlot = ClassNameSlot("TestRenderBase");
  int longSlot = ClassNameSlot("TestRenderBaseLong");
  ASSERT_NE(baseSlot, longSlot);
  const CoreRuntimeClass* expected =
      baseSlot < longSlot ? static_cast<const CoreRuntimeClass*>(&TestRenderBase::sRuntimeClass) : &longer;
  EXPECT_EQ(FindRuntimeClass("TestRenderBaseLongest"), expected);
}

TEST(FindRuntimeClass, UnknownAndEmptyQueriesFindNothing) {
  EXPECT_EQ(FindRuntimeClass(""), nullptr);
  EXPECT_EQ(FindRuntimeClass("NoSuchClassAnywhere"), nullptr);
  // A query shorter than a registered name does not match it.
  EXPECT_EQ(FindRuntimeClass("TestRender"), nullptr);
}

TEST(IsKindOf, FollowsTheBaseChainToTheRoot) {
  TestRenderDerived object;
  EXPECT_TRUE(object.IsKindOf("TestRenderDerived"));
  EXPECT_TRUE(object.IsKindOf("TestRenderBase"));
  EXPECT_TRUE(object.IsKindOf("CoreObject"));
  EXPECT_TRUE(object.IsKindOf(&TestRenderBase::sRuntimeClass));
  EXPECT_FALSE(object.IsKindOf("InterfaceBase"));
  EXPECT_FALSE(object.IsKindOf(""));

  TestRenderBase base;
  EXPECT_FALSE(base.IsKindOf("TestRenderDerived"));
  EXPECT_EQ(base.GetRuntimeClass(), &TestRenderBase::sRuntimeClass);
}

TEST(CreateObject, MakesAnObjectOfTheNamedClass) {
  const CoreRuntimeClass* record = FindRuntimeClass("TestRenderDerived");
  ASSERT_NE(record, nullptr);
  std::unique_ptr<CoreObject> object(record->CreateObject());
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(object->GetRuntimeClass(), &TestRenderDerived::sRuntimeClass);
  EXPECT_NE(dynamic_cast<TestRenderDerived*>(object.get()), nullptr);
}

TEST(CreateObject, AnInterfaceLayerIsABareObjectThatJoinsTheManagerList) {
  const CoreRuntimeClass* record = FindRuntimeClass("Interface<messageManager>");
  ASSERT_NE(record, nullptr);
  unsigned before = TheManagerList().mCount;
  CoreObject* object = record->CreateObject();
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(TheManagerList().mCount, before + 1);
  EXPECT_STREQ(object->GetRuntimeClass()->mName, "Interface<messageManager>");
  EXPECT_TRUE(object->IsKindOf("InterfaceBase"));
  EXPECT_FALSE(object->IsKindOf("messageManager"));
  // The list keeps the pointer for the rest of the run, as it would for any manager.
}

using RuntimeClassDeathTest = ::testing::Test;

TEST_F(RuntimeClassDeathTest, RegistrationChecksEndTheProcessWithTheirExactText) {
  EXPECT_CRITICAL_EXIT(StubRecord("TestRenderBase", nullptr), "Critical error:[!mDynHash[hash] + \"DYNAMIC hash conflict\"]");
  EXPECT_CRITICAL_EXIT(StubRecord(nullptr, nullptr), "Critical error:[pName + \"name can't be null\"]");
  EXPECT_CRITICAL_EXIT(StubRecord("", nullptr), "Critical error:[pName[0] + \"name can't be empty\"]");
}

}  // namespace
