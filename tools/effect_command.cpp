// torvane-tool effect: builds an effect file on a hidden GL context the way the engine does and
// reports what the engine would use, or why it would fall back.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/hidden_gl_context.h"
#include "render/effect/effect.h"
#include "render/effect/stage_source.h"
#include "render/effect/states.h"
#include "tools/json_writer.h"
#include "tools/tool_command.h"

namespace {

void WriteEffect(const cEffect& effect, JsonWriter& json) {
  const EffectSource& source = effect.Source();
  json.BeginObject().Key("techniques").BeginArray();
  for (size_t t = 0; t < source.techniques.size(); ++t) {
    json.BeginObject().Key("name").String(source.techniques[t].name);
    json.Key("valid").Bool(effect.TechniqueBuilt()[t]).EndObject();
  }
  json.EndArray().Key("technique").String(source.techniques[effect.TechniqueIndex()].name);
  json.Key("passes").BeginArray();
  for (const EffectPass& pass : source.techniques[effect.TechniqueIndex()].passes) {
    json.BeginObject().Key("name").String(pass.name).Key("vertex").String(pass.vertexEntry);
    json.Key("fragment").String(pass.fragmentEntry).Key("states").BeginArray();
    for (const EffectStateAssignment& state : pass.states) json.String(DescribeEffectState(state));
    json.EndArray().EndObject();
  }
  json.EndArray().Key("parameters").BeginArray();
  for (const EffectParameterLeaf& leaf : effect.Parameters()) {
    json.BeginObject().Key("name").String(leaf.name).Key("path").String(leaf.path);
    json.Key("semantic").String(leaf.semantic).Key("type").String(leaf.typeName).EndObject();
  }
  json.EndArray().EndObject();
}

// The GLSL the compiler receives for each pass of the technique in use.
void PrintGlsl(const cEffect& effect) {
  const EffectSource& source = effect.Source();
  for (const EffectPass& pass : source.techniques[effect.TechniqueIndex()].passes) {
    for (const EffectStage stage : {EffectStage::Vertex, EffectStage::Fragment}) {
      const bool vertex = stage == EffectStage::Vertex;
      std::string glsl;
      std::string error;
      BuildStageSource(source, stage, vertex ? pass.vertexEntry : pass.fragmentEntry, glsl, error);
      std::printf("// pass %s, %s program\n%s\n", pass.name.c_str(), vertex ? "vertex" : "fragment", glsl.c_str());
    }
  }
}

int RunEffect(const std::vector<std::string>& args) {
  ToolArgs parsed;
  std::string error;
  if (!ParseToolArgs(args, {}, {"--glsl"}, parsed, error)) return ToolUsageError("effect", error);
  if (parsed.positional.size() != 1) return ToolUsageError("effect", "expects one effect file");
  const std::string& path = parsed.positional[0];
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "torvane-tool effect: cannot read %s\n", path.c_str());
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();

  platform::HiddenGLContext context;
  if (!context.Create(16, 16)) {
    std::fprintf(stderr, "torvane-tool effect: no OpenGL context (%s)\n", context.Error().c_str());
    return 1;
  }
  cEffect effect;
  const bool usable = effect.Create(text.str(), path, true);
  std::fputs(effect.Log().c_str(), stderr);
  if (!usable) {
    std::fprintf(stderr, "%s: no technique can be used; the engine would draw with the fallback effect\n", path.c_str());
    return 1;
  }
  if (parsed.Has("--glsl")) {
    PrintGlsl(effect);
    return 0;
  }
  JsonWriter json;
  WriteEffect(effect, json);
  std::printf("%s\n", json.Text().c_str());
  return 0;
}

}  // namespace

TORVANE_TOOL_COMMAND(effect, "effect", "build an effect file and list its techniques, passes and parameters",
                     "usage: torvane-tool effect FILE [--glsl]\n\n"
                     "Builds FILE (.cg, .fx or .cgfx) on a hidden OpenGL context as the engine does and\n"
                     "prints JSON: {\"techniques\": [{\"name\", \"valid\"}], \"technique\": the one in use,\n"
                     "\"passes\": [{\"name\", \"vertex\", \"fragment\", \"states\"}],\n"
                     "\"parameters\": [{\"name\", \"path\", \"semantic\", \"type\"}]}.\n"
                     "Messages of techniques that do not build go to stderr as FILE:LINE: text. When no\n"
                     "technique builds, only the messages are printed and the status is 1 (the engine\n"
                     "would draw with data\\core\\shader\\dummyShader.cgfx instead).\n"
                     "With --glsl, prints the GLSL that each pass's two programs are built from instead.\n"
                     "Needs a display (Xvfb will do). See docs/effects.md for the format.\n",
                     RunEffect);
