#pragma once
// The entries of the post-effect definition file, read from its XML tree. Pure: no pack, no GL;
// the effects themselves are loaded by cPostEffectManager.

#include <cstdint>
#include <string>
#include <vector>

#include "files/sync_document.h"
#include "files/xml_element.h"

class resShader;

// Work buffers and scene-line buffers of the frame composition.
constexpr int POST_EFFECT_BUFFER_COUNT = 10;
// renderTarget value of the final buffer.
constexpr int32_t POST_EFFECT_FINAL_TARGET = -1;
// execPass value that runs every pass.
constexpr int32_t POST_EFFECT_ALL_PASSES = -1;

enum PostEffectBufferSet { POST_EFFECT_LINE_BUFFERS = 0, POST_EFFECT_WORK_BUFFERS = 1 };
enum PostEffectBufferKind { POST_EFFECT_COLOR = 0, POST_EFFECT_DEPTH = 1, POST_EFFECT_NO_KIND = 2 };

struct PostEffectConstant {
  std::string param;
  std::string type;  // as written: "float" to "float4" (anything else sets no component)
  float values[4] = {0, 0, 0, 0};
  // A sync track whose value replaces component x; NAME.y, NAME.z, NAME.w the others. Empty
  // when the constant is not keyed.
  std::string track;
};

// How many components a constant's type sets: 1 to 4, 0 for a type it does not know.
int PostEffectConstantComponents(const std::string& type);

struct PostEffectSource {
  std::string param;
  int set = POST_EFFECT_LINE_BUFFERS;
  int32_t index = 0;
  int kind = POST_EFFECT_NO_KIND;
};

struct PostEffectEntry {
  uint32_t startTime = 0;
  uint32_t endTime = 0;
  std::string shader;
  int32_t execPrio = 0;
  int32_t execPass = POST_EFFECT_ALL_PASSES;
  int32_t renderTarget = POST_EFFECT_FINAL_TARGET;
  bool enabled = true;          // the developer mode can switch an entry off
  resShader* effect = nullptr;  // one reference held by the manager
  std::vector<PostEffectConstant> constants;
  std::vector<PostEffectSource> sources;
};

// Appends root's "PostEffectEntry" children to entries in document order. An entry whose
// renderTarget names no buffer (not -1 and not 0 to 9) is left out, with a line in notes: it
// would draw outside the work buffers.
void ReadPostEffectEntries(const XmlElement& root, std::vector<PostEffectEntry>& entries, std::vector<std::string>& notes);

// A constant's four components from its "type" and comma-separated "value" (missing numbers are 0).
PostEffectConstant ReadPostEffectConstant(const char* param, const char* type, const char* value);

// A source binding from its "type" ("color", "depth") and "lineId" ("3": line buffer 3, "w3":
// work buffer 3).
PostEffectSource ReadPostEffectSource(const char* param, const char* type, const char* lineId);

// constant's four values with each component whose track tracks has replaced by the track's value
// at row; the components the type leaves out follow the last one, as when read.
void KeyedValues(const PostEffectConstant& constant, const SyncDocument& tracks, double row, float values[4]);

// The track that keys component (0 to 3) of a constant bound to track: track itself, then
// track.y, track.z, track.w.
std::string ComponentTrackName(const std::string& track, int component);

// Every track the constants of entries name, components included, each once in first-use order.
std::vector<std::string> BoundTrackNames(const std::vector<PostEffectEntry>& entries);

// Orders entries by execPrio compared as unsigned 32-bit numbers (so -1 comes last).
void SortPostEffectEntries(std::vector<PostEffectEntry>& entries);
