#include "render/effect/stage_source.h"

#include <map>
#include <set>
#include <vector>

namespace {

// GLSL 1.20 numbers the line after "#line N" as N + 1.
constexpr int LINE_DIRECTIVE_OFFSET = 1;

// Indices of the function chunks reachable from entry and from the roots.
std::set<size_t> ReachableFunctions(const EffectSource& source, const std::string& entry) {
  std::map<std::string, std::vector<size_t>> byName;
  for (size_t i = 0; i < source.chunks.size(); ++i) {
    if (source.chunks[i].kind == EffectChunk::Function) byName[source.chunks[i].function].push_back(i);
  }
  std::set<size_t> reached;
  std::set<std::string> seen;
  std::vector<std::string> pending(source.roots);
  pending.push_back(entry);
  while (!pending.empty()) {
    const std::string name = std::move(pending.back());
    pending.pop_back();
    if (!seen.insert(name).second) continue;
    const auto found = byName.find(name);
    if (found == byName.end()) continue;
    for (size_t index : found->second) {
      reached.insert(index);
      const auto& references = source.chunks[index].references;
      pending.insert(pending.end(), references.begin(), references.end());
    }
  }
  return reached;
}

bool HasFunction(const EffectSource& source, const std::string& name) {
  for (const EffectChunk& chunk : source.chunks) {
    if (chunk.kind == EffectChunk::Function && chunk.function == name) return true;
  }
  return false;
}

}  // namespace

bool BuildStageSource(const EffectSource& source, EffectStage stage, const std::string& entry, std::string& glsl,
                      std::string& error) {
  if (!HasFunction(source, entry)) {
    error = "no function '" + entry + "' for the " + (stage == EffectStage::Vertex ? "vertex" : "fragment") + " program";
    return false;
  }
  const std::set<size_t> functions = ReachableFunctions(source, entry);
  glsl = "#version 120\n";
  glsl += stage == EffectStage::Vertex ? "#define TORVANE_VERTEX 1\n" : "#define TORVANE_FRAGMENT 1\n";
  for (size_t i = 0; i < source.chunks.size(); ++i) {
    const EffectChunk& chunk = source.chunks[i];
    if (chunk.kind == EffectChunk::Function && !functions.count(i)) continue;
    // Attributes are vertex inputs; fragment compilers refuse them.
    if (chunk.kind == EffectChunk::Attribute && stage == EffectStage::Fragment) continue;
    glsl += "#line " + std::to_string(chunk.line - LINE_DIRECTIVE_OFFSET) + "\n";
    glsl.append(source.code, chunk.begin, chunk.end - chunk.begin);
    glsl += '\n';
  }
  if (entry != "main") glsl += "void main() { " + entry + "(); }\n";
  return true;
}
