#include <string>

#include <gtest/gtest.h>

#include "tests/support/run_command.h"
#include "tests/support/test_paths.h"

namespace {

TEST(XmlCommand, PrintsTheRootAsJson) {
  CommandResult result =
      RunTool({"xml", SourcePath("tests/data/files/pack_folder/data/definition/tdfDefine.xml"), "--root", "trdataxml"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "{\"name\":\"TRDataXml\",\"attributes\":[[\"name\",\"tdfDefine\"]],\"children\":["
            "{\"name\":\"TdfEntry\",\"attributes\":[[\"id\",\"intro\"],[\"path\",\"data\\\\scene\\\\intro.tdf\"]],"
            "\"children\":[]}]}\n");
}

TEST(XmlCommand, PrintsTheMessageBoxTextOnFailure) {
  std::string path = SourcePath("tests/data/files/xml/weekly-utf-8.xml");
  CommandResult wrongRoot = RunTool({"xml", path, "--root", "TRDataXml"});
  EXPECT_EQ(wrongRoot.status, 1);
  EXPECT_EQ(wrongRoot.out, "");
  EXPECT_EQ(wrongRoot.err, "XML Parsing error inside file '" + path +
                               "'.\nError: First Tag not found\nAt line 0, column 0.\nFirst Tag should be 'TRDataXml'.\n");
  std::string bad = SourcePath("tests/data/files/xml/attlist01.xml");
  CommandResult notWellFormed = RunTool({"xml", bad, "--root", "root"});
  EXPECT_EQ(notWellFormed.status, 1);
  EXPECT_EQ(notWellFormed.err.rfind("XML Parsing error inside file '" + bad + "'.\nError: Unexpected token found\nAt line ", 0), 0u)
      << notWellFormed.err;
  EXPECT_EQ(RunTool({"xml"}).status, 2);
  EXPECT_EQ(RunTool({"xml", SourcePath("no/such/file.xml")}).status, 1);
}

}  // namespace
