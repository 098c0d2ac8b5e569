// torvane-tool mqo2bmdl: converts a Metasequoia document into a model cache.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "files/mqo_conversion.h"
#include "files/mqo_model.h"
#include "files/output_file.h"
#include "production/production_finding.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

// The pack folder of the output: its path from the last "data" folder on, else the default.
std::string PackDirectoryOf(const std::filesystem::path& output) {
  std::string directory;
  bool inData = false;
  for (const auto& part : std::filesystem::absolute(output).parent_path()) {
    if (part == "data") {
      directory.clear();
      inData = true;
    }
    if (inData) directory += part.string() + "\\";
  }
  return inData ? directory : MQO_DEFAULT_PACK_DIRECTORY;
}

void PrintSummary(const ModelData& model, const std::string& packDirectory) {
  size_t vertices = 0, faces = 0;
  for (const ModelObject& object : model.objects) {
    vertices += object.vertexCount;
    faces += object.faceCount;
  }
  JsonWriter json;
  json.BeginObject()
      .Key("packDirectory").String(packDirectory)
      .Key("materials").Integer(static_cast<int64_t>(model.materials.size()))
      .Key("objects").Integer(static_cast<int64_t>(model.objects.size()))
      .Key("vertices").Integer(static_cast<int64_t>(vertices))
      .Key("faces").Integer(static_cast<int64_t>(faces))
      .Key("namedPoints").Integer(static_cast<int64_t>(model.namedPoints.size()))
      .EndObject();
  std::printf("%s\n", json.Text().c_str());
}

int RunMqo2Bmdl(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--pack-dir"}, {}, parsed, error)) return ToolUsageError("mqo2bmdl", error);
  if (parsed.positional.size() != 2) return ToolUsageError("mqo2bmdl", "needs IN.mqo and OUT.bmdl");
  std::ifstream in(parsed.positional[0], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "torvane-tool mqo2bmdl: cannot read %s\n", parsed.positional[0].c_str());
    return 1;
  }
  std::vector<uint8_t> text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string packDirectory = parsed.Option("--pack-dir", PackDirectoryOf(parsed.positional[1]));
  if (!packDirectory.empty() && packDirectory.back() != '\\') packDirectory += '\\';
  files::MqoConversion converted;
  if (!files::ConvertMqoText(text.data(), text.size(), packDirectory, converted, error)) {
    std::fprintf(stderr, "%s\n",
                 FormatFinding({FindingSeverity::Error, parsed.positional[0], converted.errorLine, 0, error}).c_str());
    return 1;
  }
  if (!WriteOutputFile(parsed.positional[1], converted.cache, error)) {
    std::fprintf(stderr, "torvane-tool mqo2bmdl: %s\n", error.c_str());
    return 1;
  }
  PrintSummary(converted.model, packDirectory);
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(mqo2bmdl, "mqo2bmdl", "convert a Metasequoia model into a model cache",
                     "usage: torvane-tool mqo2bmdl IN.mqo OUT.bmdl [--pack-dir DIR]\n\n"
                     "Reads a Metasequoia text document and writes its visible objects, materials and\n"
                     "named points as a model cache (\"NUXABMDL\"). Texture names are resolved against\n"
                     "the pack folder of OUT (its path from the last \"data\" folder on, e.g.\n"
                     "data\\model\\), or DIR when given. A material named NAME@EFFECT uses the effect\n"
                     "data\\shader\\EFFECT.cgfx. Prints a JSON summary {\"packDirectory\", \"materials\",\n"
                     "\"objects\", \"vertices\", \"faces\", \"namedPoints\"}; exits 1 for a file it cannot\n"
                     "convert. See docs/models.md.\n",
                     RunMqo2Bmdl);
