// Which production the player's command line names, and what it says when it names none.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/entry.h"
#include "app/installed_showcase.h"
#include "app/player_arguments.h"
#include "tests/support/temporary_folder.h"

namespace fs = std::filesystem;

namespace {

// Runs the reading from inside folder, as the player started there would.
class InFolder {
 public:
  explicit InFolder(const fs::path& folder) : mPrevious(fs::current_path()) { fs::current_path(folder); }
  ~InFolder() { fs::current_path(mPrevious); }

 private:
  fs::path mPrevious;
};

struct Layout {
  TemporaryFolder root;
  Layout() {
    WriteTextFile(root / "here/torvane.pak", "pack");
    WriteTextFile(root / "demo/torvane.pak", "pack");
    WriteTextFile(root / "demo/other.pak", "pack");
    WriteTextFile(root / "showcase/torvane.pak", "pack");
    fs::create_directories(root / "empty");
  }
};

TEST(PlayerArguments, NameTheProductionToPlay) {
  Layout layout;
  const std::string showcase = layout.root / "showcase";
  struct Case {
    const char* name;
    const char* cwd;
    std::vector<std::string> args;
    std::string showcase;
    std::string folder;
    std::string pack;
  };
  const Case cases[] = {
      {"a folder", "empty", {layout.root / "demo"}, showcase, layout.root / "demo", "torvane.pak"},
      {"a relative folder", "here", {"../demo"}, showcase, "../demo", "torvane.pak"},
      {"a pack of another name", "empty", {layout.root / "demo/other.pak"}, showcase, layout.root / "demo", "other.pak"},
      {"a pack in the current folder", "demo", {"other.pak"}, showcase, ".", "other.pak"},
      {"none, the current folder's pack first", "here", {}, showcase, ".", "torvane.pak"},
      {"none, the installed showcase", "empty", {}, showcase, showcase, "torvane.pak"},
      {"none, no showcase installed", "empty", {}, layout.root / "nowhere", ".", "torvane.pak"},
      {"none, the showcase unknown", "empty", {}, "", ".", "torvane.pak"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InFolder in(layout.root.Path() / c.cwd);
    PlayerCommand command = ReadPlayerCommand(c.args, c.showcase);
    ASSERT_EQ(command.request, PlayerRequest::Play) << command.error;
    EXPECT_EQ(command.production.folder, c.folder);
    EXPECT_EQ(command.production.packName, c.pack);
  }
}

TEST(PlayerArguments, RefuseWhatNamesNoProductionSayingWhatWasLookedFor) {
  Layout layout;
  InFolder in(layout.root.Path());
  struct Case {
    std::vector<std::string> args;
    std::string wanted;
  };
  const Case cases[] = {
      {{layout.root / "empty"}, (layout.root.Path() / "empty" / "torvane.pak").string() + " is not there"},
      {{layout.root / "missing"}, "no production at " + layout.root / "missing"},
      {{"missing.pak"}, "missing.pak: neither a folder with a torvane.pak nor a pack file"},
      {{"--fullscreen"}, "unknown option --fullscreen"},
      {{"demo", "here"}, "one production at most"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    PlayerCommand command = ReadPlayerCommand(c.args, layout.root / "showcase");
    EXPECT_EQ(command.request, PlayerRequest::Refused);
    EXPECT_NE(command.error.find(c.wanted), std::string::npos) << command.error;
  }
}

TEST(PlayerArguments, HelpAndVersionComeBeforeAnyProduction) {
  EXPECT_EQ(ReadPlayerCommand({"--help"}, "").request, PlayerRequest::Help);
  EXPECT_EQ(ReadPlayerCommand({"--version"}, "").request, PlayerRequest::Version);
  const std::string help = PlayerHelpText();
  for (const char* wanted : {"[FOLDER | PACK]", "--help", "--version", "--dev", "--pack P", "--control SOCKET"}) {
    EXPECT_NE(help.find(wanted), std::string::npos) << wanted;
  }
  for (int status : {PLAYER_EXIT_OVER, PLAYER_EXIT_ESCAPE, PLAYER_EXIT_NO_LAUNCHER, PLAYER_EXIT_USAGE, PLAYER_EXIT_NO_MUSIC}) {
    EXPECT_NE(help.find("\n  " + std::to_string(status) + "\t"), std::string::npos) << status;
  }
}

TEST(InstalledShowcase, IsFoundFromTheProgramsOwnFolder) {
  EXPECT_EQ(ShowcaseFolderBeside("/opt/x/bin/torvane"), "/opt/x/share/torvane/showcase");
  EXPECT_EQ(ShowcaseFolderBeside("/usr/bin/torvane"), "/usr/share/torvane/showcase");
  EXPECT_EQ(ShowcaseFolderBeside(""), "");
  EXPECT_FALSE(InstalledShowcaseFolder().empty());
}

}  // namespace
