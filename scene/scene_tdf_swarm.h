#pragma once
// CSceneTdf_swarm: a cut that draws its scene and then a swarm of copies of one model over it,
// through cMassMqoRender (one material set-up, many copies). It takes over only the scenes whose
// name begins with SWARM_SCENE_PREFIX, which no author writes by chance, so that a production that
// does not ask for it is drawn as if it were not there. Two objects of the scene steer it by their
// keys:
//
//   object 1, the copies' model (usually hidden): position is the swarm's centre, rotation its
//     orientation (turned as the renderers turn objects), scale x its radius and scale y the size
//     of one copy;
//   object 2, a control: position x and y name two formations and z is how far the swarm has moved
//     from the first to the second (0 to 1), scale x a pulse that swells every copy, scale y how
//     fast the copies swirl about the swarm's axis (radians a second), scale z how far they scatter,
//     alpha their brightness.
//
// Formations, by number: 0 sphere, 1 torus knot, 2 vortex, 3 galaxy, 4 burst, 5 field, 6 tube
// along z. Copy i of every formation keeps its own place, size, tumble and colour, so the swarm
// flows from one formation to another.

#include <array>
#include <memory>
#include <string>

#include "scene/scene_tdf_default.h"
#include "scene/swarm_scene_name.h"

class cMassMqoRender;

inline constexpr int SWARM_COPIES = 1200;
inline constexpr int SWARM_FORMATIONS = 7;

struct SwarmControls {
  float formationA = 0, formationB = 0, blend = 0;
  float pulse = 0, swirl = 0, spread = 0, brightness = 1;
  float radius = 1, size = 0.1f;
};

struct SwarmCopy {
  std::array<float, 3> position;  // in the swarm's frame
  std::array<float, 3> axis;      // unit tumble axis
  float angleDegrees;
  float scale;
  std::array<float, 3> colour;
};

// Where copy index of count sits in a formation (a number outside 0..6 is clamped into it), within
// about the unit sphere (the tube reaches 2.5 along z).
std::array<float, 3> SwarmFormationPoint(int formation, int index, int count);

// Copy index at time (seconds into the scene) under the controls.
SwarmCopy PlaceSwarmCopy(const SwarmControls& controls, int index, float time);

class CSceneTdf_swarm : public CSceneTdfDefault {
  CORE_DECLARE_DYNAMIC(CSceneTdf_swarm)
  CSceneTdf_swarm();
  ~CSceneTdf_swarm() override;

  // Takes the copies' model from the scene's object 1.
  void Start(cTdfRender* renderer) override;
  // The scene as any cut draws it, then the copies in the scene's camera. Without the two steering
  // objects or a model for the copies, only the scene.
  void DrawFrame(cTdfRender* renderer, float phase) override;

  const cMassMqoRender* Copies() const { return mCopies.get(); }

 private:
  void DrawCopies(const SwarmControls& controls, float time);

  std::unique_ptr<cMassMqoRender> mCopies;
  std::string mCopyPart;     // the first object of the copies' model
  std::string mControlPart;  // the first object of the control's model
};
