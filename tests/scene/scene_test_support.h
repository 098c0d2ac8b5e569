#pragma once
// Support for the scene tests: a process pack built in memory (core effects, default texture and
// the test's own entries), a probe effect that reports what the renderers set, quad models and
// scene animation texts. Every resource a test takes must be given back by its end.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "files/model_data.h"
#include "tests/support/resource_pack_test.h"

class resShader;

inline constexpr char PROBE_EFFECT_PATH[] = "data\\shader\\probe.cgfx";
inline constexpr char QUAD_MODEL_PATH[] = "data\\model\\quad.mqo";
inline constexpr char QUAD_CACHE_PATH[] = "data\\model\\quad.bmdl";

// An effect of `passes` passes that covers the target with its vertices as given (no matrix) and
// writes "shMqoColor"; it keeps "shWorldMat", "shVProjMat", "TIME_RATE", "shEyePos" and
// "shLightPos" live so that their uploaded values can be read back.
std::string ProbeEffectText(int passes = 1);

// A model whose objects are quads covering the view (x, y from -1 to 1, z 0) with material 0 of
// colour `color` drawn by the probe effect; object i is named names[i] and has depths[i].
ModelData QuadModel(const std::vector<std::string>& names, const std::vector<uint32_t>& depths,
                    std::array<float, 4> color = {1, 1, 1, 1});
std::string ModelCacheText(const ModelData& model);

// The first lines of a scene animation file.
std::string TdfHeader();
// The number of words in text.
int WordCount(const std::string& text);
// An object's "DataNum" and "Time" lines for the key times written in times.
std::string KeyTimes(const std::string& times);

// The value of a float uniform (count floats) as uploaded to pass `pass` of effect.
std::vector<float> UploadedUniform(resShader* effect, const char* name, int count, int pass = 0);

class ScenePackTest : public ResourcePackTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Opens the core entries, the probe effect and entries as the process pack.
  void OpenPack(const PackContents& entries);
};
