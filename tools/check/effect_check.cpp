#include "tools/check/effect_check.h"

#include <cstdlib>
#include <sstream>

#include "render/effect/effect.h"
#include "render/effect/parser.h"
#include "render/effect/stage_source.h"
#include "resources/res_shader.h"

namespace {

// "FILE:LINE[:COLUMN]: [error: ]text" lines of the effect's log as findings.
void AddLogFindings(const std::string& log, const std::string& file, FindingSeverity severity, ProductionFindings& findings) {
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(file + ":", 0) != 0) continue;
    const char* at = line.c_str() + file.size() + 1;
    char* end = nullptr;
    const long number = std::strtol(at, &end, 10);
    long column = 0;
    if (*end == ':' && end[1] >= '0' && end[1] <= '9') column = std::strtol(end + 1, &end, 10);
    std::string text = *end == ':' ? std::string(end + 1) : std::string(at);
    if (text.rfind(" ", 0) == 0) text.erase(0, 1);
    if (text.rfind("error: ", 0) == 0) text.erase(0, 7);
    // The compiler's own warnings stay warnings.
    const bool warning = text.rfind("warning: ", 0) == 0;
    if (warning) text.erase(0, 9);
    findings.Add(warning ? FindingSeverity::Warning : severity, file, static_cast<int>(number), static_cast<int>(column), text);
  }
}

bool IsTechniqueHeading(const ProductionFinding& finding) {
  return finding.message.rfind("technique '", 0) == 0 && finding.message.find("' cannot be used") != std::string::npos;
}

// An effect that does not build: its first error is the likely cause, and the summary and the
// techniques' headings follow from it. The compiler's other messages stand on their own.
void MarkFirstCompilerError(ProductionFindings& findings, size_t first) {
  size_t cause = findings.Size();
  for (size_t i = first; i < findings.Size() && cause == findings.Size(); ++i) {
    const ProductionFinding& finding = findings.All()[i];
    if (finding.severity == FindingSeverity::Error && finding.line > 0 && !IsTechniqueHeading(finding)) cause = i;
  }
  if (cause == findings.Size()) return;
  findings.MarkCause(cause, findings.Size() - 1);
  for (size_t i = first; i < findings.Size(); ++i) {
    if (IsTechniqueHeading(findings.All()[i])) findings.MarkCause(cause, i, i + 1);
  }
}

// Without a GL context: the techniques the parser accepts whose passes' programs can be put
// together; the first is the one the player would try to use.
int FirstAssembledTechnique(const EffectSource& source) {
  for (size_t t = 0; t < source.techniques.size(); ++t) {
    const EffectTechnique& technique = source.techniques[t];
    bool assembled = technique.errors.empty();
    for (const EffectPass& pass : technique.passes) {
      std::string glsl;
      std::string error;
      assembled = assembled && BuildStageSource(source, EffectStage::Vertex, pass.vertexEntry, glsl, error) &&
                  BuildStageSource(source, EffectStage::Fragment, pass.fragmentEntry, glsl, error);
    }
    if (assembled) return static_cast<int>(t);
  }
  return -1;
}

std::string ParseLog(const EffectSource& source, const std::string& file, int usable) {
  std::string log;
  for (const EffectMessage& message : source.errors) log += file + ":" + std::to_string(message.line) + ": " + message.text + "\n";
  const size_t tried = usable < 0 ? source.techniques.size() : static_cast<size_t>(usable);
  for (size_t t = 0; t < tried; ++t) {
    const EffectTechnique& technique = source.techniques[t];
    log += file + ":" + std::to_string(technique.line) + ": technique '" + technique.name + "' cannot be used" +
           (technique.errors.empty() ? ": its programs cannot be put together\n" : ": its text has errors\n");
    for (const EffectMessage& message : technique.errors) {
      log += file + ":" + std::to_string(message.line) + ": " + message.text + "\n";
    }
  }
  return log;
}

}  // namespace

EffectFacts CheckEffect(const ProductionFiles& files, const std::string& path, bool compile, ProductionFindings& findings) {
  EffectFacts facts;
  std::string text;
  if (!files.Read(path, text)) return facts;
  const std::string file = files.DisplayName(path);
  std::string log;
  EffectSource source;
  int technique = -1;
  if (compile) {
    cEffect effect;
    facts.usable = effect.Create(text, file);
    log = effect.Log();
    source = effect.Source();
    technique = effect.TechniqueIndex();
  } else {
    const bool parsed = ParseEffect(text, source);
    technique = parsed ? FirstAssembledTechnique(source) : -1;
    facts.usable = technique >= 0;
    log = ParseLog(source, file, technique);
  }
  ListEffectParameters(source, facts.parameters);
  if (technique >= 0) facts.passCount = static_cast<int>(source.techniques[technique].passes.size());
  // Messages of techniques tried before the one in use are warnings: the player falls back to it.
  const size_t first = findings.Size();
  AddLogFindings(log, file, facts.usable ? FindingSeverity::Warning : FindingSeverity::Error, findings);
  if (!facts.usable) {
    findings.Error(file, 0, path == DUMMY_SHADER_PATH
                                ? "the fallback effect does not build: the player ends with \"failed to load dummy shader.\""
                                : "no technique builds: the player draws with the fallback effect (flat magenta) instead");
    MarkFirstCompilerError(findings, first);
  }
  return facts;
}

const EffectParameterLeaf* FindEffectParameter(const EffectFacts& effect, const std::string& name) {
  for (const EffectParameterLeaf& leaf : effect.parameters) {
    if (leaf.name == name || leaf.semantic == name || leaf.path == name) return &leaf;
  }
  return nullptr;
}
