#include <string>

#include <gtest/gtest.h>

#include "core/runtime_class.h"
#include "tests/support/run_command.h"

namespace {

TEST(ClassesCommand, ListsEveryRecordInSlotOrderWithItsBase) {
  CommandResult result = RunTool({"classes"});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string& out = result.out;
  EXPECT_EQ(out.front(), '[');
  std::string root = "{\"name\":\"CoreObject\",\"base\":null,\"slot\":" + std::to_string(ClassNameSlot("CoreObject")) + "}";
  EXPECT_NE(out.find(root), std::string::npos) << out;
  std::string manager = "{\"name\":\"demoManager\",\"base\":\"Interface<demoManager>\",\"slot\":" +
                        std::to_string(ClassNameSlot("demoManager")) + "}";
  EXPECT_NE(out.find(manager), std::string::npos);

  // Slots appear in ascending order.
  int previous = -1;
  for (size_t at = out.find("\"slot\":"); at != std::string::npos; at = out.find("\"slot\":", at + 1)) {
    int slot = std::stoi(out.substr(at + 7));
    EXPECT_GT(slot, previous);
    previous = slot;
  }
  EXPECT_NE(RunTool({"classes", "extra"}).status, 0);
}

}  // namespace
