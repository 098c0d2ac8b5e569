// torvane-tool tdf: shows a scene animation as the engine parses it, or one interpolated key.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "files/pack_file.h"
#include "files/tdf_document.h"
#include "platform/hidden_gl_context.h"
#include "render/texture_manager.h"
#include "resources/res_mqo.h"
#include "resources/res_tdf.h"
#include "tools/json_writer.h"
#include "tools/pack_opening.h"
#include "tools/tool_command.h"

namespace {

void WriteKey(JsonWriter& json, const TdfKey& key) {
  json.BeginObject().Key("rotation");
  WriteNumberArray(json, key.rotation);
  json.Key("alpha").Number(key.alpha).Key("scale");
  WriteNumberArray(json, key.scale);
  json.Key("position");
  WriteNumberArray(json, key.position);
  json.EndObject();
}

void WriteObject(JsonWriter& json, const TdfObject& object) {
  json.BeginObject()
      .Key("model").Integer(object.modelIndex)
      .Key("CameraTrans").Integer(object.CameraTrans)
      .Key("Visible").Integer(object.Visible)
      .Key("times");
  WriteNumberArray(json, object.times);
  json.Key("parts").BeginObject();
  for (const auto& [name, keys] : object.parts) {
    json.Key(name).BeginArray();
    for (const TdfKey& key : keys) WriteKey(json, key);
    json.EndArray();
  }
  json.EndObject().EndObject();
}

void WriteDocument(JsonWriter& json, const TdfDocument& document, const TdfModelSet& models) {
  json.BeginObject().Key("models").BeginObject();
  for (int slot = 0; slot < TDF_MODEL_SLOTS; ++slot) {
    if (resMQO* model = models.Get(slot)) json.Key(std::to_string(slot)).String(model->GetPath());
  }
  json.EndObject().Key("scenes").BeginArray();
  for (const TdfScene& scene : document.GetScenes()) {
    json.BeginObject().Key("name").String(scene.name).Key("objects").BeginArray();
    for (const TdfObject& object : scene.objects) WriteObject(json, object);
    json.EndArray().EndObject();
  }
  json.EndArray().Key("sceneEndTimes");
  WriteNumberArray(json, document.GetSceneEndTimes());
  json.EndObject();
}

// Pulls "--key SCENE OBJECT PART TIME" out of args.
bool TakeKeyRequest(std::vector<std::string>& args, std::vector<std::string>& key) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != "--key") continue;
    if (i + 4 >= args.size()) return false;
    key.assign(args.begin() + i + 1, args.begin() + i + 5);
    args.erase(args.begin() + i, args.begin() + i + 5);
    return true;
  }
  return true;
}

int PrintKey(const TdfDocument& document, const std::vector<std::string>& request) {
  size_t scene = std::strtoul(request[0].c_str(), nullptr, 10);
  size_t object = std::strtoul(request[1].c_str(), nullptr, 10);
  if (scene >= document.GetSceneCount() || object >= document.GetScene(scene).objects.size()) {
    std::fprintf(stderr, "torvane-tool tdf: no object %s in scene %s\n", request[1].c_str(), request[0].c_str());
    return 1;
  }
  JsonWriter json;
  WriteKey(json, document.GetScene(scene).objects[object].GetKey(request[2], std::strtof(request[3].c_str(), nullptr)));
  std::printf("%s\n", json.Text().c_str());
  return 0;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "torvane-tool tdf: %s\n", message.c_str());
  return 1;
}

int RunTdf(const std::vector<std::string>& arguments) {
  std::vector<std::string> args = arguments;
  std::vector<std::string> keyRequest;
  if (!TakeKeyRequest(args, keyRequest)) return ToolUsageError("tdf", "--key needs SCENE OBJECT PART TIME");
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {"--pack"}, {}, parsed, error)) return ToolUsageError("tdf", error);
  if (parsed.positional.size() != 1) return ToolUsageError("tdf", "needs one FILE");
  std::ifstream in(parsed.positional[0], std::ios::binary);
  if (!in) return Fail("cannot read " + parsed.positional[0]);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  // Models load as the engine loads them: with their textures, effects and display lists.
  platform::HiddenGLContext context;
  std::string pack = parsed.Option("--pack");
  if (!pack.empty()) {
    if (!InstallPackFile(pack, error)) return Fail(error);
    if (!context.Create(64, 64)) return Fail("models need OpenGL: " + context.Error());
    gTextureManager.Initialize();
  }
  int status = 0;
  {
    TdfDocument document;
    TdfModelSet models;
    document.ParseTdfText(text, pack.empty() ? TdfModelLoader(NoTdfModels) : models.Loader());
    if (!keyRequest.empty()) {
      status = PrintKey(document, keyRequest);
    } else {
      JsonWriter json;
      WriteDocument(json, document, models);
      std::printf("%s\n", json.Text().c_str());
    }
  }
  ClosePackage();
  return status;
}

}  // namespace

TORVANE_TOOL_COMMAND(tdf, "tdf", "show a scene animation as the engine parses it",
                     "usage: torvane-tool tdf FILE [--pack PAK] [--key SCENE OBJECT PART TIME]\n\n"
                     "Parses the scene animation FILE and prints {\"models\": {slot: cache path},\n"
                     "\"scenes\": [{\"name\", \"objects\": [{\"model\", \"CameraTrans\", \"Visible\", \"times\",\n"
                     "\"parts\": {name: [{\"rotation\", \"alpha\", \"scale\", \"position\"}]}}]}],\n"
                     "\"sceneEndTimes\"}. Without --pack no model is loaded, so model objects have no\n"
                     "parts; with it the MQO block's models come from PAK (this needs a display for\n"
                     "OpenGL; a model missing from PAK ends the tool with \"file not found.\").\n"
                     "With --key, prints only the key of part PART of object OBJECT (an index) of scene\n"
                     "SCENE (an index) at TIME seconds: {\"rotation\", \"alpha\", \"scale\", \"position\"}.\n",
                     RunTdf);
