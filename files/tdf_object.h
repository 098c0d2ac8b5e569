#pragma once
// One animated object of a scene: its model, its key times and, per part, one key per time.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct ModelData;

struct TdfKey {
  std::array<float, 3> rotation{0, 0, 0};  // radians
  float alpha = 1;
  std::array<float, 3> scale{1, 1, 1};
  std::array<float, 3> position{0, 0, 0};
};

// Slot number of the camera object.
inline constexpr int32_t TDF_CAMERA_SLOT = -1;
inline constexpr char TDF_CAMERA_POSITION_PART[] = "camera_pos";
inline constexpr char TDF_CAMERA_LOOKAT_PART[] = "camera_lookat";

struct TdfObject {
  // What the object's slot held when it was read (borrowed); null once the table gives the slot
  // another model.
  const ModelData* model = nullptr;
  int32_t modelIndex = TDF_CAMERA_SLOT;
  std::map<std::string, std::vector<TdfKey>> parts;
  std::vector<float> times;
  int32_t CameraTrans = 0;
  int32_t Visible = 0;

  // The key of part at time: the single key, a linear blend of the two keys around time (a
  // quadratic curve through three keys for positions when there are three or more), the last
  // key outside the times, or the default key for an unknown part or no keys. Negative times
  // count as 0.
  TdfKey GetKey(const std::string& part, float time) const;
};
