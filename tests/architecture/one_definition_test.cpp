#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/architecture/layer_rules.h"
#include "tests/architecture/type_definitions.h"
#include "tests/support/temporary_folder.h"
#include "tests/support/test_paths.h"

namespace {

std::vector<std::string> Named(const std::vector<TypeDefinition>& definitions) {
  std::vector<std::string> names;
  for (const TypeDefinition& definition : definitions) {
    names.push_back(definition.name + " " + definition.file + ":" + std::to_string(definition.line));
  }
  return names;
}

// Everything that can be linked into one program: the engine's layers, the content generators and
// the tests, benchmarks and fuzz targets with their support code.
std::vector<std::string> LinkedFolders() {
  std::vector<std::string> folders;
  for (const std::string& layer : ENGINE_LAYERS) {
    if (layer.find('/') == std::string::npos) folders.push_back(layer);
  }
  folders.insert(folders.end(), {"content", "tests", "bench", "fuzz"});
  return folders;
}

}  // namespace

TEST(OneDefinition, NoTypeNameIsDefinedTwice) {
  for (const TypeDefinition& clash : FindTypeClashes(SourcePath(""), LinkedFolders())) {
    ADD_FAILURE() << clash.file << ":" << clash.line << ": " << clash.name << " is defined in more than one file";
  }
}

TEST(OneDefinition, FindsNamespaceScopeTypesAndOnlyThose) {
  const std::string text = R"(#include "x.h"
#define WRAP(name) struct name {}
struct Plain {
  struct Nested {};
  void Method() { struct Local {}; }
};
class Derived final : public Base<int, float> { };
enum class Mode : int { A, B };
struct Declared;
template <class T> struct Traits<T*> {};
template <class T> class Holder {};
namespace {
struct Hidden {};
}  // namespace
namespace capture::audio {
union Sample { int i; };
inline const char TEXT[] = "struct NotAType {";  // struct Commented {
}  // namespace capture::audio
extern "C" {
struct CRecord { int x; };
}
int Function(struct Declared* out) { return 0; }
)";
  EXPECT_EQ(Named(FindTypeDefinitions(text, "a.h")),
            (std::vector<std::string>{"Plain a.h:3", "Derived a.h:7", "Mode a.h:8", "Holder a.h:11",
                                      "capture::audio::Sample a.h:16", "CRecord a.h:20"}));
}

TEST(OneDefinition, APlantedClashIsNamedWithBothFiles) {
  TemporaryFolder root;
  WriteTextFile(root.Path() / "dev/music_track.h", "#pragma once\nstruct MusicTrack { virtual ~MusicTrack(); };\n");
  WriteTextFile(root.Path() / "tools/capture/music_track.h", "#pragma once\n\nstruct MusicTrack {\n  int rate;\n};\n");
  WriteTextFile(root.Path() / "tools/capture/decoded.h", "namespace capture {\nstruct MusicTrack {};\n}\n");
  WriteTextFile(root.Path() / "tools/one.cpp", "namespace {\nstruct Case {};\n}\n");
  WriteTextFile(root.Path() / "tools/two.cpp", "namespace {\nstruct Case {};\n}\n");
  EXPECT_EQ(Named(FindTypeClashes(root.Path().string(), {"dev", "tools"})),
            (std::vector<std::string>{"MusicTrack dev/music_track.h:2", "MusicTrack tools/capture/music_track.h:3"}));
}
