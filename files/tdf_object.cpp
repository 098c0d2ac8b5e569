#include "files/tdf_object.h"

#include <algorithm>

namespace {

using Vec3 = std::array<float, 3>;

Vec3 Linear(const Vec3& a, const Vec3& b, float s) {
  return {a[0] * (1 - s) + b[0] * s, a[1] * (1 - s) + b[1] * s, a[2] * (1 - s) + b[2] * s};
}

Vec3 Weighted(const Vec3& p0, float w0, const Vec3& p1, float w1, const Vec3& p2, float w2) {
  Vec3 result;
  for (int i = 0; i < 3; ++i) result[i] = (w0 * p0[i] + w1 * p1[i] + w2 * p2[i]) / 2;
  return result;
}

// The curve through three keys: on the first segment through P0, P1, P2 at s = 0, 1, 2; on later
// segments through K[i-1], K[i], K[i+1] at s = -1, 0, 1.
Vec3 CurvedPosition(const std::vector<TdfKey>& keys, size_t i, float s) {
  float s2 = s * s;
  if (i == 0) {
    return Weighted(keys[0].position, s2 - 3 * s + 2, keys[1].position, 4 * s - 2 * s2, keys[2].position, s2 - s);
  }
  return Weighted(keys[i - 1].position, s2 - s, keys[i].position, 2 - 2 * s2, keys[i + 1].position, s + s2);
}

}  // namespace

TdfKey TdfObject::GetKey(const std::string& part, float time) const {
  auto found = parts.find(part);
  if (found == parts.end() || found->second.empty()) return TdfKey{};
  const std::vector<TdfKey>& keys = found->second;
  if (keys.size() == 1) return keys[0];
  if (time < 0) time = 0;
  size_t n = std::min(keys.size(), times.size());
  for (size_t i = 0; i + 1 < n; ++i) {
    if (!(times[i] <= time && time <= times[i + 1])) continue;
    float span = times[i + 1] - times[i];
    float s = span == 0 ? 0 : (time - times[i]) / span;
    const TdfKey& a = keys[i];
    const TdfKey& b = keys[i + 1];
    TdfKey key;
    key.rotation = Linear(a.rotation, b.rotation, s);
    key.alpha = a.alpha * (1 - s) + b.alpha * s;
    key.scale = Linear(a.scale, b.scale, s);
    key.position = n == 2 ? Linear(a.position, b.position, s) : CurvedPosition(keys, i, s);
    return key;
  }
  return n == 0 ? TdfKey{} : keys[n - 1];
}
