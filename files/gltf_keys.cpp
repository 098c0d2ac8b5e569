#include "files/gltf_keys.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "files/gltf_axes.h"
#include "files/key_fitting.h"

namespace {

constexpr double CHECKS_PER_SECOND = 120;
// A STEP sampler's jump is keyed as two keys this far apart, the old value just before.
constexpr double STEP_KEY_GAP = 0.0005;
// Shear is how far apart a parent's non-uniform scale and a child's rotation leave the axes.
constexpr double NOTICEABLE_SHEAR = 1e-3;
// Relative scale miss allowed: a part a scene wide then misses by half the position tolerance.
constexpr double SCALE_TOLERANCE = 0.0005;

std::array<float, 3> Floats(const GltfVec3& v) {
  return {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])};
}

GltfVec3 Doubles(const std::array<float, 3>& v) { return {v[0], v[1], v[2]}; }

// World matrices at each time asked for, computed once.
class WorldCache {
 public:
  explicit WorldCache(const GltfPose& pose) : mPose(pose) {}
  const std::vector<GltfMat4>& At(double time) {
    auto found = mWorlds.find(time);
    if (found == mWorlds.end()) found = mWorlds.emplace(time, mPose.WorldMatrices(time)).first;
    return found->second;
  }

 private:
  const GltfPose& mPose;
  std::map<double, std::vector<GltfMat4>> mWorlds;
};

std::vector<double> InitialTimes(const GltfPose& pose, const std::vector<int>& nodes) {
  std::vector<double> times{0, pose.Duration()};
  for (int node : nodes) {
    for (double time : pose.KeyTimesOf(node)) times.push_back(std::clamp(time, 0.0, pose.Duration()));
    for (double time : pose.StepTimesOf(node)) {
      if (time > STEP_KEY_GAP) times.push_back(time - STEP_KEY_GAP);
    }
  }
  return times;
}

void FitModel(const GltfPose& pose, const std::vector<GltfModelPart>& parts,
              const GltfKeyTolerance& tolerance, TdfObject& model, std::vector<std::string>& warnings) {
  WorldCache worlds(pose);
  std::vector<double> checked = CheckedTimes(pose.Duration());
  std::vector<std::vector<DecomposedMatrix>> exact(checked.size());
  for (size_t c = 0; c < checked.size(); ++c) {
    for (const GltfModelPart& part : parts) exact[c].push_back(Decompose(worlds.At(checked[c])[static_cast<size_t>(part.node)]));
  }
  std::set<std::string> sheared;
  KeyFitting fitting;
  fitting.checkedTimes = checked;
  fitting.makeKeys = [&](const std::vector<double>& times, TdfObject& object) {
    object.times.assign(times.begin(), times.end());
    object.parts.clear();
    for (const GltfModelPart& part : parts) {
      std::vector<TdfKey>& keys = object.parts[part.name];
      EngineAngles previous{0, 0, 0};
      for (double time : times) {
        DecomposedMatrix world = Decompose(worlds.At(time)[static_cast<size_t>(part.node)]);
        if (world.shear > NOTICEABLE_SHEAR) sheared.insert(part.name);
        previous = EngineRotation(world.rotation, previous);
        TdfKey key;
        key.position = Floats(EnginePosition(world.translation));
        key.rotation = Floats(previous);
        key.scale = Floats(world.scale);
        keys.push_back(key);
      }
    }
  };
  fitting.miss = [&](const TdfObject& object, size_t c) {
    double worst = 0;
    for (size_t p = 0; p < parts.size(); ++p) {
      PartMiss miss = MissOfPart(object.GetKey(parts[p].name, static_cast<float>(checked[c])), exact[c][p]);
      worst = std::max({worst, miss.position / tolerance.position, miss.angle / tolerance.rotation, miss.scale / SCALE_TOLERANCE});
    }
    return worst;
  };
  std::vector<int> nodes;
  for (const GltfModelPart& part : parts) nodes.push_back(part.node);
  FitKeys(fitting, InitialTimes(pose, nodes), model);
  for (const std::string& name : sheared) {
    warnings.push_back("node \"" + name + "\": a parent's uneven scale shears it; it is drawn without the shear");
  }
}

void FitCamera(const GltfPose& pose, const GltfCameraChoice& choice, double lookDistance, const GltfKeyTolerance& tolerance,
               TdfObject& camera) {
  WorldCache worlds(pose);
  // A still scene still needs a length to be stretched over its scene line.
  double length = pose.Duration() > 0 ? pose.Duration() : 1.0;
  std::vector<double> checked = CheckedTimes(pose.Duration());
  auto node = static_cast<size_t>(choice.node);
  KeyFitting fitting;
  fitting.checkedTimes = checked;
  fitting.makeKeys = [&](const std::vector<double>& times, TdfObject& object) {
    object.times.assign(times.begin(), times.end());
    object.parts.clear();
    std::vector<TdfKey>& eyes = object.parts[TDF_CAMERA_POSITION_PART];
    std::vector<TdfKey>& targets = object.parts[TDF_CAMERA_LOOKAT_PART];
    double roll = 0;
    for (double time : times) {
      EngineCameraKey key = EngineCamera(worlds.At(std::min(time, pose.Duration()))[node], lookDistance, roll);
      roll = key.roll;
      TdfKey eye, target;
      eye.position = Floats(key.eye);
      eye.rotation = Floats({0, choice.yfov - ENGINE_BASE_FIELD_OF_VIEW, key.roll});
      target.position = Floats(key.lookAt);
      eyes.push_back(eye);
      targets.push_back(target);
    }
  };
  fitting.miss = [&](const TdfObject& object, size_t c) {
    CameraMiss miss = MissOfCamera(object, checked[c], worlds.At(checked[c])[node]);
    return std::max(miss.eye / tolerance.position, miss.angle / tolerance.rotation);
  };
  std::vector<double> times = InitialTimes(pose, {choice.node});
  times.push_back(length);
  FitKeys(fitting, times, camera);
}

}  // namespace

std::vector<double> CheckedTimes(double duration) {
  std::vector<double> times;
  for (size_t i = 0; i / CHECKS_PER_SECOND < duration; ++i) times.push_back(i / CHECKS_PER_SECOND);
  times.push_back(duration);
  return times;
}

PartMiss MissOfPart(const TdfKey& key, const DecomposedMatrix& exact) {
  PartMiss miss;
  miss.position = Length(Subtract(GltfPositionOf(Doubles(key.position)), exact.translation));
  miss.angle = AngleBetween(DrawnRotation({key.rotation[0], key.rotation[1], key.rotation[2]}), exact.rotation);
  for (int i = 0; i < 3; ++i) {
    double relative = std::fabs(key.scale[i] - exact.scale[i]) / std::max(1e-6, std::fabs(exact.scale[i]));
    miss.scale = std::max(miss.scale, relative);
  }
  return miss;
}

CameraMiss MissOfCamera(const TdfObject& camera, double time, const GltfMat4& world) {
  TdfKey eye = camera.GetKey(TDF_CAMERA_POSITION_PART, static_cast<float>(time));
  TdfKey target = camera.GetKey(TDF_CAMERA_LOOKAT_PART, static_cast<float>(time));
  DrawnCamera drawn = DrawnCameraOf(Doubles(eye.position), Doubles(target.position), eye.rotation[2]);
  GltfVec3 forward = Normalized(Scaled(GltfVec3{world[8], world[9], world[10]}, -1));
  GltfVec3 right = Normalized(GltfVec3{world[0], world[1], world[2]});
  CameraMiss miss;
  miss.eye = Length(Subtract(drawn.eye, GltfVec3{world[12], world[13], world[14]}));
  double direction = std::acos(std::clamp(Dot(drawn.forward, forward), -1.0, 1.0));
  double roll = std::acos(std::clamp(Dot(drawn.right, right), -1.0, 1.0));
  miss.angle = std::max(direction, roll);
  return miss;
}

void FitSceneKeys(const GltfPose& pose, const std::vector<GltfModelPart>& parts,
                  const GltfCameraChoice& camera, double lookDistance, const GltfKeyTolerance& tolerance,
                  GltfSceneKeys& keys, std::vector<std::string>& warnings) {
  keys.camera.modelIndex = TDF_CAMERA_SLOT;
  keys.camera.CameraTrans = 1;
  keys.camera.Visible = 1;
  keys.model.modelIndex = 0;
  keys.model.CameraTrans = 1;
  keys.model.Visible = 1;
  FitModel(pose, parts, tolerance, keys.model, warnings);
  FitCamera(pose, camera, lookDistance, tolerance, keys.camera);
}
