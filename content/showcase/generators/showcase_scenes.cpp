#include "content/showcase/generators/showcase_scenes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "content/showcase/generators/models.h"
#include "content/showcase/generators/noise.h"
#include "content/showcase/generators/showcase_tracks.h"
#include "content/showcase/generators/tdf_writer.h"
#include "content/showcase/generators/text_atlas.h"
#include "content/showcase/generators/timeline.h"
#include "resources/post_effect_entry.h"
#include "scene/swarm_scene_name.h"

namespace {

constexpr double PI = 3.141592653589793;

// Model table slots, the same in every scene animation.
enum Slot { SKY = 0, TUNNEL = 1, KNOT = 2, TERRAIN = 3, CITY = 4, TITLE = 5, TEXT = 6, SHARD = 7, CONTROL = 8, STAGE = 9, WIRE = 10 };

struct ModelEntry {
  Slot slot;
  const char* file;
  const char* part;  // the model's first object: the part keyed to place it
};

const ModelEntry MODELS[] = {
    {SKY, "sky", "sky"},         {TUNNEL, "tunnel", "rings"},  {KNOT, "knot", "knot"},      {TERRAIN, "terrain", "terrain"},
    {CITY, "city", "city"},      {TITLE, "title", "t00"},      {TEXT, "text", "subtitle"},  {SHARD, "shard", "shard"},
    {CONTROL, "swarmControl", "swarm"}, {STAGE, "stage", "floor"}, {WIRE, "terrainWire", "terrain"},
};

const ModelEntry& Model(Slot slot) { return MODELS[slot]; }

std::pair<int, std::string> TableEntry(Slot slot) {
  return {slot, std::string("data\\model\\") + Model(slot).file + ".mqo"};
}

// Swarm formations the cut class knows, by number.
enum Formation { SPHERE = 0, KNOT_CURVE = 1, VORTEX = 2, GALAXY = 3, BURST = 4, FIELD = 5, TUBE = 6 };

double Beat() { return BeatSeconds(); }
double Bar() { return BeatSeconds() * BEATS_PER_BAR; }
double Ease(double t) { return SmoothStep(0.0, 1.0, t); }

// Times from 0 to duration every step; the last is duration itself.
std::vector<double> Grid(double duration, double step) {
  std::vector<double> times;
  int count = static_cast<int>(std::lround(duration / step));
  for (int i = 0; i < count; ++i) times.push_back(i * step);
  times.push_back(duration);
  return times;
}

using CameraFunction = std::function<CameraKey(double)>;

struct Shot {
  std::string name;
  double duration;
  CameraFunction camera;
};

ObjectTrack CameraOf(const Shot& shot, double step) {
  std::vector<double> times = Grid(shot.duration, step);
  std::vector<CameraKey> keys;
  for (double t : times) keys.push_back(shot.camera(t));
  return CameraTrack(times, keys);
}

Vec3 EyeAt(const ObjectTrack& camera, size_t i) { return camera.parts[0].keys[i].position; }

// The sky dome moving with the eye, so that it always surrounds it; its alpha is the exposure.
ObjectTrack SkyAround(const ObjectTrack& camera, double exposureFrom, double exposureTo) {
  ObjectTrack sky;
  sky.slot = SKY;
  sky.times = camera.times;
  PartTrack part{Model(SKY).part, {}, true, false, false, true};
  for (size_t i = 0; i < camera.times.size(); ++i) {
    PartKey key;
    key.position = EyeAt(camera, i);
    key.alpha = exposureFrom + (exposureTo - exposureFrom) * camera.times[i] / camera.times.back();
    part.keys.push_back(key);
  }
  sky.parts = {part};
  return sky;
}

ObjectTrack PlacedObject(Slot slot, Vec3 position, double scale = 1.0) {
  ObjectTrack object = StillObject(slot, Model(slot).part);
  object.parts[0].keys[0].position = position;
  object.parts[0].keys[0].scale = {scale, scale, scale};
  object.parts[0].scale = scale != 1.0;
  return object;
}

// ---- the swarm's steering ----

struct SwarmState {
  Vec3 centre;
  Vec3 orientation;  // radians
  double radius = 1.0;
  double size = 0.1;
  int formationA = SPHERE, formationB = SPHERE;
  double blend = 0.0;
  double pulse = 0.0;
  double swirl = 0.0;
  double spread = 0.0;
  double brightness = 1.0;
};

using SwarmFunction = std::function<SwarmState(double)>;

// The two objects the swarm cut class reads: the shard model (its frame and size, never drawn
// itself) and the control (formations, blend, pulse, swirl, spread, brightness).
std::vector<ObjectTrack> SwarmObjects(const std::vector<double>& times, const SwarmFunction& state) {
  ObjectTrack shard;
  shard.slot = SHARD;
  shard.visible = false;
  shard.times = times;
  PartTrack frame{Model(SHARD).part, {}, true, true, true, false};
  ObjectTrack control;
  control.slot = CONTROL;
  control.visible = false;
  control.times = times;
  PartTrack steer{Model(CONTROL).part, {}, true, false, true, true};
  for (double t : times) {
    SwarmState s = state(t);
    PartKey frameKey;
    frameKey.position = s.centre;
    frameKey.rotation = s.orientation;
    frameKey.scale = {s.radius, s.size, 1.0};
    frame.keys.push_back(frameKey);
    PartKey steerKey;
    // Positions are written with z negated; blend is stored so that it reads back as given.
    steerKey.position = {static_cast<double>(s.formationA), static_cast<double>(s.formationB), -s.blend};
    steerKey.scale = {s.pulse, s.swirl, s.spread};
    steerKey.alpha = s.brightness;
    steer.keys.push_back(steerKey);
  }
  shard.parts = {frame};
  control.parts = {steer};
  return {shard, control};
}

// A scene of the swarm's line, named for the swarm cut class with suffix after its prefix: the
// camera, then the two objects that class reads.
SceneTrack SwarmScene(const std::string& name, const ObjectTrack& camera, const std::vector<double>& times,
                      const SwarmFunction& state) {
  SceneTrack scene{SWARM_SCENE_PREFIX + name, {camera}};
  for (ObjectTrack& object : SwarmObjects(times, state)) scene.objects.push_back(object);
  return scene;
}

// A beat pulse: 1 on every beat, falling away over a fraction of it.
double BeatPulse(double t, double sharpness = 0.12) {
  double sinceBeat = std::fmod(t, Beat());
  return std::exp(-sinceBeat / sharpness);
}

// ---- the picture being built ----

struct Window {
  uint32_t start, end;  // ms, inclusive
};

Window SectionWindow(const Section& section) { return {BarMs(section.firstBar), BarMs(section.EndBar()) - 1}; }

class Builder {
 public:
  explicit Builder(const TextAtlas& atlas) : mAtlas(atlas) {}

  ShowcasePicture Build();

 private:
  void AddTdf(const std::string& id, TdfFile file) {
    file.title = "Torvane showcase: " + id;
    std::string text = WriteTdf(file);
    mPicture.tdfFiles.push_back({"data/tdf/" + id + ".tdf", std::move(file), std::move(text)});
    mPicture.definitions.tdfs.push_back({id, "data\\tdf\\" + id + ".tdf"});
  }
  void AddLine(const std::string& id, int line, Window window) {
    mPicture.definitions.sceneLines.push_back({id, line, window.start, window.end, "default"});
  }
  void Feature(const std::string& name, uint32_t time, const std::string& file, const std::string& remove,
               const std::string& replacement = "") {
    mPicture.features.push_back({name, time, file, remove, replacement});
  }

  void AddSwarmLine(const std::string& id, std::vector<SceneTrack> scenes, Window window) {
    TdfFile file;
    file.models = {TableEntry(SHARD), TableEntry(CONTROL)};
    file.scenes = std::move(scenes);
    AddTdf(id, file);
    AddLine(id, LINE_SWARM, window);
  }

  void Intro();
  void Tunnel();
  void Knot();
  void City();
  void Swarm();
  void Breakdown();
  void Finale();
  void Credits();
  void Captions();
  void PostChain();
  SyncTrack& Track(const std::string& name);
  void KeyRampOnBothComponents(const std::string& name, const std::vector<RampPoint>& points);
  void CustomTextures();
  void Features();

  // Main-line scene animations of several shots, each its own scene (cut).
  void AddShots(const std::string& id, const std::vector<Shot>& shots, const std::vector<Slot>& models,
                const std::function<std::vector<ObjectTrack>(const Shot&, const ObjectTrack&)>& objects, double step);

  // A text window on the text line: the lines shown, each with its fades and place.
  struct TextShow {
    std::string id;
    double in, out;  // seconds from the window's start: fully shown from in to out
    Vec3 place;      // drawing space, in the fixed front view
    double scale;
    Vec3 slide;      // where it comes from while fading in
  };
  void AddText(const std::string& id, Window window, const std::vector<TextShow>& shows);

  const TextAtlas& mAtlas;
  ShowcasePicture mPicture;
  std::vector<Window> mTextWindows;
};

void Builder::AddShots(const std::string& id, const std::vector<Shot>& shots, const std::vector<Slot>& models,
                       const std::function<std::vector<ObjectTrack>(const Shot&, const ObjectTrack&)>& objects, double step) {
  TdfFile file;
  for (Slot slot : models) file.models.push_back(TableEntry(slot));
  for (const Shot& shot : shots) {
    SceneTrack scene{shot.name, {}};
    ObjectTrack camera = CameraOf(shot, step);
    scene.objects.push_back(camera);
    for (ObjectTrack& object : objects(shot, camera)) scene.objects.push_back(object);
    file.scenes.push_back(scene);
  }
  AddTdf(id, file);
}

// ---- sections ----

void Builder::Intro() {
  const Section& s = SectionOf(SectionId::Intro);
  double duration = s.bars * Bar();
  Shot shot{"title", duration, [](double t) {
              double b = t / Beat();
              double tilt = Ease(b / 8.0);
              Vec3 eye = Lerp({0, -1.5, 24}, {0, 0.8, 15}, tilt);
              eye = Lerp(eye, {0, 0.3, 9.5}, SmoothStep(8, 24, b));
              double drift = SmoothStep(24, 32, b);
              eye = eye + Vec3{1.6 * drift, 0.2 * drift, -0.6 * drift};
              CameraKey key;
              key.eye = eye;
              key.target = Lerp({0, 10, -8}, {0, 0.2, 0}, tilt);
              key.fieldOfView = 44.0 - 6.0 * SmoothStep(8, 32, b);
              key.roll = 0.04 * std::sin(t * 0.4);
              return key;
            }};
  const double step = Beat() / 4.0;
  AddShots("intro", {shot}, {SKY, TITLE}, [&](const Shot&, const ObjectTrack& camera) {
    ObjectTrack title;
    title.slot = TITLE;
    title.times = camera.times;
    for (int row = 0; row < TITLE_TILES_DOWN; ++row) {
      for (int column = 0; column < TITLE_TILES_ACROSS; ++column) {
        Random random(static_cast<uint64_t>(row * TITLE_TILES_ACROSS + column) + 1000u);
        Vec3 scatter{random.Range(-12, 12), random.Range(-7, 7), random.Range(-30, 6)};
        Vec3 spin{random.Range(-3, 3), random.Range(-3, 3), random.Range(-2, 2)};
        double away = 0.5 + random.Next();
        // Columns arrive one after another from bar 2, each over two beats.
        double arrival = 8.0 + column * 0.72 + row * 0.12;
        PartTrack tile{TitleTileName(column, row), {}, true, true, false, true};
        for (double t : camera.times) {
          double b = t / Beat();
          double landed = Ease((b - (arrival - 2.0)) / 2.0);
          // From bar 6 a ripple crosses the title on every beat; in the last half bar it bursts.
          double wave = b >= 24.0 ? std::fmod(b, 1.0) * 20.0 - 2.0 : -100.0;
          double ripple = 0.22 * std::exp(-(column - wave) * (column - wave) / 4.0);
          double burst = std::pow(SmoothStep(30.0, 32.0, b), 2.0);
          PartKey key;
          key.position = scatter * (1.0 - landed) + Vec3{0, 0, ripple + burst * 24.0 * away};
          key.rotation = spin * (1.0 - landed + burst * 0.6);
          key.alpha = Clamp01(landed * 3.0);
          tile.keys.push_back(key);
        }
        title.parts.push_back(tile);
      }
    }
    return std::vector<ObjectTrack>{SkyAround(camera, 0.45, 0.55), title};
  }, step);
  AddLine("intro", LINE_MAIN, SectionWindow(s));

  // Dust in the light: the swarm, scattered and drifting.
  AddSwarmLine("dust", {SwarmScene("_dust", CameraOf(shot, step), Grid(duration, Bar()), [](double t) {
                 SwarmState state;
                 state.centre = {0, 0, 2};
                 state.radius = 13.0;
                 state.size = 0.1;
                 state.formationA = state.formationB = FIELD;
                 state.swirl = 0.04;
                 state.orientation = {0, t * 0.01, 0};
                 state.brightness = 0.6;
                 return state;
               })},
               SectionWindow(s));
}

void Builder::Tunnel() {
  const Section& s = SectionOf(SectionId::Tunnel);
  double d = 4 * Bar();
  std::vector<Shot> shots = {
      {"flight_a", d, [](double t) {
         CameraKey key;
         key.eye = {0, 0, 4.0 - 6.0 * t};
         key.target = key.eye + Vec3{0, 0, -10};
         key.fieldOfView = 58;
         key.roll = 0.12 * std::sin(0.6 * t);
         return key;
       }},
      {"flight_b", d, [d](double t) {
         CameraKey key;
         key.eye = {0, 0.3, 4.0 - 8.0 * t};
         key.target = key.eye + Vec3{0, -0.1, -10};
         key.fieldOfView = 62;
         key.roll = 0.5 * PI * Ease(t / d);
         return key;
       }},
      {"flight_c", d, [](double t) {
         double sway = std::sin(t * PI / (2.0 * Beat()));
         CameraKey key;
         key.eye = {1.1 * sway, 0.6, 4.0 - 7.0 * t};
         key.target = key.eye + Vec3{-0.4 * sway, -0.2, -10};
         key.fieldOfView = 52;
         key.roll = -0.25;
         return key;
       }},
      {"flight_d", d, [d](double t) {
         double u = t / d;
         CameraKey key;
         key.eye = {0, 0, 4.0 - (6.0 * t + 0.55 * t * t)};
         key.target = key.eye + Vec3{0, 0, -10};
         key.fieldOfView = 55 + 30 * u * u;
         key.roll = 2.0 * PI * u * u;
         return key;
       }},
  };
  AddShots("tunnel", shots, {TUNNEL}, [](const Shot&, const ObjectTrack&) {
    return std::vector<ObjectTrack>{StillObject(TUNNEL, Model(TUNNEL).part)};
  }, Beat() / 2.0);
  AddLine("tunnel", LINE_MAIN, SectionWindow(s));
}

std::vector<Shot> KnotShots(double d) {
  auto orbit = [](double angle, double radius, double height, double fov) {
    CameraKey key;
    key.eye = {radius * std::sin(angle), height, radius * std::cos(angle)};
    key.target = {0, 0, 0};
    key.fieldOfView = fov;
    return key;
  };
  return {
      {"orbit_a", d, [=](double t) { double u = t / d; return orbit(0.2 + 1.1 * u, 7.6 - 1.2 * u, 1.4 + 0.6 * std::sin(2 * u), 40); }},
      {"orbit_b", d, [=](double t) { double u = t / d; return orbit(2.2 + 1.4 * u, 9.5, -0.8 + 4.0 * u, 46); }},
      {"orbit_c", d, [=](double t) { double u = t / d; return orbit(4.4 + 1.6 * u, 5.4 - 1.0 * u, 3.5 - 2.5 * u, 50); }},
  };
}

void Builder::Knot() {
  const Section& s = SectionOf(SectionId::Knot);
  std::vector<Shot> shots = KnotShots(4 * Bar());
  AddShots("knot", shots, {SKY, STAGE, KNOT}, [](const Shot&, const ObjectTrack& camera) {
    return std::vector<ObjectTrack>{SkyAround(camera, 1.0, 1.0), PlacedObject(STAGE, {0, -4.2, 0}), StillObject(KNOT, Model(KNOT).part)};
  }, Beat() / 2.0);
  AddLine("knot", LINE_MAIN, SectionWindow(s));

  // Shards strung along a larger knot around the glass one, pulsing on the beat.
  std::vector<SceneTrack> scenes;
  for (const Shot& shot : shots) {
    scenes.push_back(SwarmScene("_" + shot.name, CameraOf(shot, Beat() / 2.0), Grid(shot.duration, Beat() / 4.0), [](double t) {
      SwarmState state;
      state.radius = 2.9;
      state.size = 0.085;
      state.formationA = state.formationB = KNOT_CURVE;
      state.pulse = 0.5 * BeatPulse(t);
      state.swirl = 0.25;
      state.spread = 0.12;
      state.brightness = 0.9;
      return state;
    }));
  }
  AddSwarmLine("knotShards", scenes, SectionWindow(s));
}

void Builder::City() {
  const Section& s = SectionOf(SectionId::City);
  double d = 4 * Bar();
  std::vector<Shot> shots = {
      {"approach", d, [d](double t) {
         double u = Ease(t / d);
         CameraKey key;
         key.eye = Lerp({-24, 30, 72}, {-2, 11, 30}, u);
         key.target = Lerp({0, 4, 0}, {0, 4, -12}, u);
         key.fieldOfView = 50;
         return key;
       }},
      {"avenue", d, [d](double t) {
         double u = t / d;
         CameraKey key;
         key.eye = {0, 2.6 + 0.6 * u, 30 - 56 * u};
         key.target = key.eye + Vec3{0.6, 0.1, -10};
         key.fieldOfView = 62;
         key.roll = 0.05 * std::sin(t * 0.8);
         return key;
       }},
      {"overview", d, [d](double t) {
         double u = t / d;
         double angle = 0.6 + 1.2 * u, radius = 42 - 6 * u;
         CameraKey key;
         key.eye = {radius * std::sin(angle), 9 + 8 * u, radius * std::cos(angle)};
         key.target = {0, 3, 0};
         key.fieldOfView = 46;
         return key;
       }},
  };
  AddShots("city", shots, {SKY, TERRAIN, CITY}, [](const Shot&, const ObjectTrack& camera) {
    return std::vector<ObjectTrack>{SkyAround(camera, 1.25, 1.25), StillObject(TERRAIN, Model(TERRAIN).part),
                                    StillObject(CITY, Model(CITY).part)};
  }, Beat() / 2.0);
  AddLine("city", LINE_MAIN, SectionWindow(s));
}

void Builder::Swarm() {
  const Section& s = SectionOf(SectionId::Swarm);
  double d = 4 * Bar();
  auto orbit = [d](double start, double sweep, double r0, double r1, double h0, double h1) {
    return [=](double t) {
      double u = t / d;
      double angle = start + sweep * u, radius = r0 + (r1 - r0) * u;
      CameraKey key;
      key.eye = {radius * std::sin(angle), h0 + (h1 - h0) * u, radius * std::cos(angle)};
      key.target = {0, 0.5, 0};
      key.fieldOfView = 52;
      return key;
    };
  };
  std::vector<Shot> shots = {{"stage_a", d, orbit(0.3, 0.9, 16, 14, 2, 5)},
                             {"stage_b", d, orbit(2.0, -1.1, 18, 13, 8, 3)},
                             {"stage_c", d, orbit(4.0, 1.4, 12, 17, 1, 6)}};
  AddShots("stage", shots, {SKY, STAGE, KNOT}, [](const Shot&, const ObjectTrack& camera) {
    return std::vector<ObjectTrack>{SkyAround(camera, 0.7, 0.7), PlacedObject(STAGE, {0, -6, 0}), PlacedObject(KNOT, {0, 0.5, 0}, 0.6)};
  }, Beat() / 2.0);
  AddLine("stage", LINE_MAIN, SectionWindow(s));

  // Each shot its own figure: a sphere that bursts on every bar, a vortex opening into a galaxy,
  // the galaxy folding into the knot.
  std::vector<SwarmFunction> figures = {
      [](double t) {
        SwarmState state;
        state.formationA = SPHERE;
        state.formationB = BURST;
        state.blend = 0.8 * std::exp(-std::fmod(t, Bar()) / 0.45);
        state.pulse = 0.6 * BeatPulse(t);
        state.swirl = 0.4;
        return state;
      },
      [d](double t) {
        SwarmState state;
        state.formationA = VORTEX;
        state.formationB = GALAXY;
        state.blend = SmoothStep(0.25, 0.75, t / d);
        state.pulse = 0.5 * BeatPulse(t);
        state.swirl = 0.9;
        state.orientation = {0.5 * SmoothStep(0.25, 0.75, t / d), 0, 0};
        return state;
      },
      [d](double t) {
        SwarmState state;
        state.formationA = KNOT_CURVE;
        state.formationB = GALAXY;
        state.blend = 1.0 - SmoothStep(0.0, 0.5, t / d);
        state.orientation = {0.5 * (1.0 - SmoothStep(0.0, 0.5, t / d)), 0, 0};
        state.pulse = 0.7 * BeatPulse(t);
        state.swirl = 0.5;
        state.spread = 0.05;
        return state;
      },
  };
  std::vector<SceneTrack> scenes;
  for (size_t i = 0; i < shots.size(); ++i) {
    const SwarmFunction& figure = figures[i];
    scenes.push_back(SwarmScene("_" + std::string(1, static_cast<char>('a' + i)), CameraOf(shots[i], Beat() / 2.0),
                                Grid(d, Beat() / 4.0), [&](double t) {
                                  SwarmState state = figure(t);
                                  state.centre = {0, 0.5, 0};
                                  state.radius = 5.5;
                                  state.size = 0.16;
                                  state.brightness = 1.0;
                                  return state;
                                }));
  }
  AddSwarmLine("swarm", scenes, SectionWindow(s));
}

void Builder::Breakdown() {
  const Section& s = SectionOf(SectionId::Breakdown);
  double d = s.bars * Bar();
  Shot shot{"drift", d, [d](double t) {
              double u = t / d;
              CameraKey key;
              key.eye = {-30 + 50 * u, 26 - 6 * u, 40 - 30 * u};
              key.target = {10 * u, 0, -10};
              key.fieldOfView = 48;
              key.roll = 0.1 * std::sin(t * 0.3);
              return key;
            }};
  AddShots("breakdown", {shot}, {SKY, WIRE}, [](const Shot&, const ObjectTrack& camera) {
    return std::vector<ObjectTrack>{SkyAround(camera, 0.3, 0.2), StillObject(WIRE, Model(WIRE).part)};
  }, Beat());
  AddLine("breakdown", LINE_MAIN, SectionWindow(s));

  AddSwarmLine("drift", {SwarmScene("_drift", CameraOf(shot, Beat()), Grid(d, Bar()), [](double t) {
                 SwarmState state;
                 state.centre = {0, 14, 0};
                 state.radius = 34;
                 state.size = 0.3;
                 state.formationA = state.formationB = FIELD;
                 state.swirl = 0.03;
                 state.orientation = {0, 0.02 * t, 0};
                 state.brightness = 0.45;
                 return state;
               })},
               SectionWindow(s));
}

void Builder::Finale() {
  const Section& s = SectionOf(SectionId::Finale);
  double d = 4 * Bar();
  std::vector<Shot> shots = {
      {"finale_a", d, [](double t) {
         CameraKey key;
         key.eye = {0, 0.2, 4.0 - 7.0 * t};
         key.target = key.eye + Vec3{0, -0.05, -10};
         key.fieldOfView = 56;
         key.roll = 0.2 * std::sin(t * 0.5);
         return key;
       }},
      {"finale_b", d, [d](double t) {
         CameraKey key;
         key.eye = {0, 0.2, 4.0 - 9.0 * t};
         key.target = key.eye + Vec3{0, -0.05, -10};
         key.fieldOfView = 60;
         key.roll = -PI * Ease(t / d);
         return key;
       }},
  };
  // The knot rides ahead of the eye, the shards spiral around it.
  auto knotAhead = [](const ObjectTrack& camera) {
    ObjectTrack knot;
    knot.slot = KNOT;
    knot.times = camera.times;
    PartTrack part{Model(KNOT).part, {}, true, false, true, false};
    for (size_t i = 0; i < camera.times.size(); ++i) {
      PartKey key;
      key.position = EyeAt(camera, i) + Vec3{0, -0.2, -7};
      key.scale = {0.55, 0.55, 0.55};
      part.keys.push_back(key);
    }
    knot.parts = {part};
    return knot;
  };
  AddShots("finale", shots, {TUNNEL, KNOT}, [&](const Shot&, const ObjectTrack& camera) {
    return std::vector<ObjectTrack>{StillObject(TUNNEL, Model(TUNNEL).part), knotAhead(camera)};
  }, Beat() / 2.0);
  AddLine("finale", LINE_MAIN, SectionWindow(s));

  std::vector<SceneTrack> scenes;
  for (const Shot& shot : shots) {
    // The same keys as the main line's camera and knot, so that both lines interpolate alike.
    ObjectTrack camera = CameraOf(shot, Beat() / 2.0);
    scenes.push_back(SwarmScene("_" + shot.name, camera, camera.times, [&](double t) {
      SwarmState state;
      state.centre = shot.camera(t).eye + Vec3{0, -0.2, -7};
      state.radius = 1.9;
      state.size = 0.09;
      state.formationA = state.formationB = TUBE;
      state.pulse = 0.6 * BeatPulse(t);
      state.swirl = 1.2;
      state.spread = 0.25;
      state.brightness = 1.0;
      return state;
    }));
  }
  AddSwarmLine("finaleShards", scenes, SectionWindow(s));
}

void Builder::Credits() {
  const Section& s = SectionOf(SectionId::Credits);
  double d = s.bars * Bar();
  Shot shot{"night", d, [d](double t) {
              double u = Ease(t / d);
              CameraKey key;
              key.eye = Lerp({0, 5, 38}, {0, 26, 64}, u);
              key.target = Lerp({0, 3, 0}, {0, 0, -20}, u);
              key.fieldOfView = 48;
              return key;
            }};
  AddShots("credits", {shot}, {SKY, TERRAIN, CITY}, [](const Shot&, const ObjectTrack& camera) {
    return std::vector<ObjectTrack>{SkyAround(camera, 0.55, 0.2), StillObject(TERRAIN, Model(TERRAIN).part),
                                    StillObject(CITY, Model(CITY).part)};
  }, Beat());
  AddLine("credits", LINE_MAIN, SectionWindow(s));
}

// ---- text ----

// A caption is drawn whether shown or not; one not shown stood at the view's origin, a screen-wide
// panel of alpha 0 right in front of the eye, and each of those cost a full-screen pass. A key
// that is unseen on both sides is shrunk to nothing, so that nothing is rasterized there; keys
// next to a seen one keep their size, so the fades look as before.
void ShrinkUnseenKeys(std::vector<PartKey>& keys) {
  auto unseen = [&](size_t i) { return i >= keys.size() || keys[i].alpha <= 0.0; };
  std::vector<bool> shrink(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) shrink[i] = unseen(i) && (i == 0 || unseen(i - 1)) && unseen(i + 1);
  for (size_t i = 0; i < keys.size(); ++i) {
    if (shrink[i]) keys[i].scale = {0.0, 0.0, 0.0};
  }
}

void Builder::AddText(const std::string& id, Window window, const std::vector<TextShow>& shows) {
  const double fade = Beat();
  double duration = (window.end + 1 - window.start) / 1000.0;
  std::vector<double> times = Grid(duration, Beat() / 4.0);
  ObjectTrack camera = CameraTrack({0.0, duration}, {CameraKey{{0, 0, -1}, {0, 0, 1}, 45.0, 0.0}, CameraKey{{0, 0, -1}, {0, 0, 1}, 45.0, 0.0}});
  ObjectTrack text;
  text.slot = TEXT;
  text.followsCamera = false;
  text.times = times;
  for (const TextPlacement& place : mAtlas.placements) {
    PartTrack part{place.id, {}, true, false, true, true};
    const TextShow* show = nullptr;
    for (const TextShow& candidate : shows) {
      if (candidate.id == place.id) show = &candidate;
    }
    for (double t : times) {
      PartKey key;
      key.alpha = 0.0;
      if (show) {
        double in = SmoothStep(show->in - fade, show->in, t);
        double out = 1.0 - SmoothStep(show->out, show->out + fade, t);
        key.alpha = std::min(in, out);
        key.position = show->place + show->slide * (1.0 - in);
        key.scale = {show->scale, show->scale, show->scale};
      }
      part.keys.push_back(key);
    }
    ShrinkUnseenKeys(part.keys);
    text.parts.push_back(part);
  }
  TdfFile file;
  file.models = {TableEntry(TEXT)};
  file.scenes = {SceneTrack{"text", {camera, text}}};
  AddTdf(id, file);
  AddLine(id, LINE_TEXT, window);
  mTextWindows.push_back(window);
}

void Builder::Captions() {
  // The fixed front view looks from z = -1 towards +z with a 45 degree lens: at z = 15 the picture
  // is about 13.3 units high and 23.6 wide, with +x on the left.
  constexpr double DEPTH = 15.0, HALF_HEIGHT = 6.63, HALF_WIDTH = 11.78, CAPTION_SCALE = 0.6;
  auto placement = [&](const std::string& id) {
    for (const TextPlacement& place : mAtlas.placements) {
      if (place.id == id) return place;
    }
    return mAtlas.placements.front();
  };
  auto caption = [&](const Section& section) {
    const TextPlacement& place = placement(CaptionId(section.name));
    double halfWidth = 0.5 * CAPTION_SCALE * place.width / place.height;
    TextShow show{place.id, Bar() + Beat(), 3 * Bar() - Beat(), {HALF_WIDTH - 0.7 - halfWidth, -HALF_HEIGHT + 0.9, DEPTH},
                  CAPTION_SCALE, {1.5, 0, 0}};
    return show;
  };
  for (const Section& section : ShowcaseSections()) {
    Window window{BarMs(section.firstBar), BarMs(section.firstBar + 4) - 1};
    std::vector<TextShow> shows;
    if (section.id != SectionId::Credits) shows.push_back(caption(section));
    if (section.id == SectionId::Intro) {
      window.end = BarMs(section.EndBar()) - 1;
      shows.push_back({"subtitle", 5.5 * Bar(), 7.5 * Bar(), {0, -2.0, DEPTH}, 0.9, {0, -0.4, 0}});
    }
    if (section.id == SectionId::Finale) {
      window.end = BarMs(section.EndBar()) - 1;
      shows.push_back({"credits_title", 4.5 * Bar(), 7.5 * Bar(), {0, 0.3, DEPTH}, 2.6, {0, 0, 6}});
    }
    if (section.id == SectionId::Credits) {
      window.end = BarMs(section.EndBar()) - 1;
      double b = Beat();
      shows = {
          {"credits_title", 1 * b, 13 * b, {0, 3.0, DEPTH}, 2.2, {0, 0.5, 0}},
          {"credits_1", 3 * b, 13 * b, {0, 0.6, DEPTH}, 0.85, {0, -0.3, 0}},
          {"credits_2", 4.5 * b, 13 * b, {0, -0.5, DEPTH}, 0.85, {0, -0.3, 0}},
          {"credits_3", 6 * b, 13 * b, {0, -1.6, DEPTH}, 0.85, {0, -0.3, 0}},
          {"credits_4", 8 * b, 13 * b, {0, -3.4, DEPTH}, 0.6, {0, -0.3, 0}},
          {"credits_5", 15 * b, 21 * b, {0, 0, DEPTH}, 1.3, {0, 0, 3}},
      };
    }
    AddText("text_" + std::string(section.name), window, shows);
  }
}

// ---- post-effects ----

PostEffectConstant Constant(const std::string& param, const std::vector<double>& values) { return PostEffectConstantOf(param, values); }

PostEffectConstant Keyed(PostEffectConstant constant, const std::string& track) {
  constant.track = track;
  return constant;
}
PostEffectSource Source(const std::string& param, const std::string& type, const std::string& lineId) {
  return PostEffectSourceOf(param, type, lineId);
}

// How a section is graded: its look, and exposure and fade at points in bars from its start.
struct Look {
  double saturation;
  Vec3 tint;
  double vignette;
  double grain;
  double bloom;
  std::vector<std::array<double, 3>> ramps;  // bar offset, exposure, fade to black
  double fogDensity = 0.0;
  Vec3 fogColour{0, 0, 0};
  bool swarm = false;
};

Look LookOf(SectionId id) {
  switch (id) {
    case SectionId::Intro: return {0.9, {0.95, 1.0, 1.1}, 0.55, 0.06, 0.9, {{0, 1.0, 1.0}, {1, 1.0, 0.0}, {8, 1.15, 0.0}}, 0, {}, true};
    case SectionId::Tunnel: return {1.1, {0.95, 1.0, 1.08}, 0.5, 0.05, 1.2, {{0, 1.0, 0}, {16, 1.1, 0}}};
    case SectionId::Knot: return {1.0, {1.0, 1.0, 1.0}, 0.45, 0.04, 0.9, {{0, 1.1, 0}, {12, 1.1, 0}}, 0, {}, true};
    case SectionId::City:
      return {1.15, {1.1, 1.0, 0.88}, 0.5, 0.05, 0.8, {{0, 1.0, 0}, {12, 1.05, 0}}, 0.011, {0.62, 0.34, 0.24}};
    case SectionId::Swarm:
      return {1.15, {1.0, 0.97, 1.08}, 0.5, 0.05, 1.3, {{0, 1.0, 0}, {12, 1.1, 0}}, 0.004, {0.05, 0.06, 0.12}, true};
    case SectionId::Breakdown: return {0.5, {0.9, 1.05, 1.0}, 0.7, 0.15, 1.0, {{0, 1.0, 0}, {8, 1.0, 0}}, 0, {}, true};
    case SectionId::Finale: return {1.1, {1.02, 1.0, 1.04}, 0.5, 0.05, 1.0, {{0, 0.95, 0}, {8, 0.9, 0}}, 0, {}, true};
    case SectionId::Credits:
      return {0.85, {0.95, 1.0, 1.08}, 0.6, 0.06, 0.9, {{0, 1.0, 0}, {4, 1.0, 0}, {6, 1.0, 1.0}}, 0.009, {0.04, 0.05, 0.1}};
  }
  return {};
}

// Exposure and fade of a section at ms, linear between its ramp points.
std::pair<double, double> RampAt(const Section& section, const Look& look, uint32_t ms) {
  double bar = (ms - BarMs(section.firstBar)) / (Bar() * 1000.0);
  const auto& ramps = look.ramps;
  if (bar <= ramps.front()[0]) return {ramps.front()[1], ramps.front()[2]};
  for (size_t i = 1; i < ramps.size(); ++i) {
    if (bar > ramps[i][0]) continue;
    double u = (bar - ramps[i - 1][0]) / (ramps[i][0] - ramps[i - 1][0]);
    return {ramps[i - 1][1] + (ramps[i][1] - ramps[i - 1][1]) * u, ramps[i - 1][2] + (ramps[i][2] - ramps[i - 1][2]) * u};
  }
  return {ramps.back()[1], ramps.back()[2]};
}

SyncTrack& Builder::Track(const std::string& name) {
  if (SyncTrack* track = FindSyncTrack(mPicture.tracks, name)) return *track;
  mPicture.tracks.tracks.push_back({name, {}, 0});
  return mPicture.tracks.tracks.back();
}

// The grade mixes a vector's two components across its entry: keyed alike, both hold the track's
// value, so that the ramp is the track's alone.
void Builder::KeyRampOnBothComponents(const std::string& name, const std::vector<RampPoint>& points) {
  KeyRamp(Track(name), points);
  KeyRamp(Track(ComponentTrackName(name, 1)), points);
}

void Builder::PostChain() {
  std::vector<PostEffectDefinition>& chain = mPicture.definitions.postEffects;
  mPicture.tracks = ShowcaseTrackDocument();
  const int COMPOSITE = 10, DOF = 20, BRIGHT = 30, BLUR = 31, GRADE = 50, GLITCH = 60, FLASH = 70, TRANSITION = 80;
  for (const Section& section : ShowcaseSections()) {
    Look look = LookOf(section.id);
    Window window = SectionWindow(section);
    bool focus = section.id == SectionId::Knot;
    bool glitch = section.id == SectionId::Breakdown;

    PostEffectDefinition composite{window.start, window.end, "composite", COMPOSITE, -1, 0, {}, {}, ""};
    composite.comment = std::string(section.name) + ": the scene line with the swarm's line by depth, fogged by depth";
    composite.sources = {Source("sceneTex", "color", "0"), Source("sceneDepth", "depth", "0")};
    if (look.swarm) composite.sources.push_back(Source("swarmTex", "color", "2"));
    if (look.swarm) composite.sources.push_back(Source("swarmDepth", "depth", "2"));
    composite.constants = {Constant("swarmMix", {look.swarm ? 1.0 : 0.0}), Constant("fogDensity", {look.fogDensity}),
                           Constant("fogColour", {look.fogColour.x, look.fogColour.y, look.fogColour.z})};

    std::string scene = "w0";
    if (focus) {
      // Each shot of the knot keeps the knot in focus at its own distance. The composite, which
      // reads the depth anyway, writes each pixel's blur beside its colour, so that the depth of
      // field reads both of a neighbour at once.
      double shotMs = 4 * Bar() * 1000.0;
      const double FOCUS[3] = {6.9, 9.5, 4.9};
      for (int shot = 0; shot < 3; ++shot) {
        PostEffectDefinition focused = composite;
        focused.start = window.start + static_cast<uint32_t>(shot * shotMs);
        focused.end = shot == 2 ? window.end : window.start + static_cast<uint32_t>((shot + 1) * shotMs) - 1;
        focused.comment += ", with the blur of the depth of field, in focus at the knot";
        focused.constants.push_back(Constant("focusDistance", {FOCUS[shot]}));
        focused.constants.push_back(Constant("aperture", {0.45}));
        chain.push_back(focused);
      }
      PostEffectDefinition dof{window.start, window.end, "dof", DOF, -1, 1, {}, {}, "depth of field"};
      dof.sources = {Source("sceneTex", "color", "w0")};
      chain.push_back(dof);
      scene = "w1";
    } else {
      chain.push_back(composite);
    }

    PostEffectDefinition bright{window.start, window.end, "bloom", BRIGHT, 0, 2, {}, {}, "bloom: bright parts, blurred across"};
    bright.sources = {Source("sourceTex", "color", "w0")};
    bright.constants = {Constant("threshold", {1.0})};
    chain.push_back(bright);
    PostEffectDefinition blur{window.start, window.end, "bloom", BLUR, 1, 3, {}, {}, "bloom: blurred down"};
    blur.sources = {Source("sourceTex", "color", "w2")};
    chain.push_back(blur);

    // The grade, split where text windows begin and end and where the look's ramps bend (the
    // grain moves with each entry's own time, so the splits stay where they were); exposure and
    // fade follow their tracks.
    std::vector<RampPoint> exposureRamp, fadeRamp;
    for (const auto& ramp : look.ramps) {
      const uint32_t row = ShowcaseRowOf(BarMs(section.firstBar + ramp[0]));
      exposureRamp.push_back({row, ramp[1]});
      fadeRamp.push_back({row, ramp[2]});
    }
    KeyRampOnBothComponents(EXPOSURE_TRACK, exposureRamp);
    KeyRampOnBothComponents(FADE_TRACK, fadeRamp);
    std::set<uint32_t> cuts = {window.start, window.end + 1};
    for (const auto& ramp : look.ramps) cuts.insert(BarMs(section.firstBar + ramp[0]));
    for (const Window& text : mTextWindows) {
      cuts.insert(text.start);
      cuts.insert(text.end + 1);
    }
    std::vector<uint32_t> points;
    for (uint32_t cut : cuts) {
      if (cut >= window.start && cut <= window.end + 1) points.push_back(cut);
    }
    for (size_t i = 0; i + 1 < points.size(); ++i) {
      uint32_t start = points[i], end = points[i + 1] - 1;
      bool text = std::any_of(mTextWindows.begin(), mTextWindows.end(), [&](const Window& w) { return w.start <= start && end <= w.end; });
      auto [exposure, fade] = RampAt(section, look, start);
      PostEffectDefinition grade{start, end, "grade", GRADE, -1, glitch ? 4 : -1, {}, {}, ""};
      grade.comment = std::string(section.name) + ": " + ClockText(start) + " grade" + (text ? ", with text" : "");
      grade.sources = {Source("sceneTex", "color", scene), Source("bloomTex", "color", "w3")};
      if (text) grade.sources.push_back(Source("textTex", "color", "1"));
      grade.constants = {Keyed(Constant("exposure", {exposure, exposure}), EXPOSURE_TRACK),
                         Keyed(Constant("fade", {fade, fade}), FADE_TRACK),
                         Constant("saturation", {look.saturation}), Constant("tint", {look.tint.x, look.tint.y, look.tint.z}),
                         Constant("vignette", {look.vignette}), Constant("grain", {look.grain}),
                         Constant("bloomStrength", {look.bloom}), Constant("textMix", {text ? 1.0 : 0.0})};
      chain.push_back(grade);
    }

    if (glitch) {
      // A steady break-up with bursts where the music stutters.
      for (int bar = section.firstBar; bar < section.EndBar(); ++bar) {
        int offset = bar - section.firstBar;
        bool burst = offset == 2 || offset == 4 || offset == 5;
        PostEffectDefinition entry{BarMs(bar), BarMs(bar + 1) - 1, "glitch", GLITCH, -1, -1, {}, {}, "glitch, bar " + std::to_string(bar)};
        entry.sources = {Source("sceneTex", "color", "w4")};
        entry.constants = {Constant("glitchAmount", burst ? std::vector<double>{1.0, 0.3} : std::vector<double>{0.3, 0.2}),
                           Constant("seed", {static_cast<double>(offset) * 17.31})};
        chain.push_back(entry);
      }
    }

    // A flash opens every section; the drops flash on every bar. An entry lasts the flash's beat
    // only, so that the pass is not drawn between flashes; its track shapes the flash.
    bool drop = section.id == SectionId::Knot || section.id == SectionId::Swarm || section.id == SectionId::Finale;
    for (int bar = section.firstBar; bar < section.EndBar(); ++bar) {
      if (!drop && bar != section.firstBar) continue;
      KeyFlash(Track(FLASH_TRACK), ShowcaseRowOf(BarMs(bar)), bar == section.firstBar ? 0.9 : 0.35);
      PostEffectDefinition flash{BarMs(bar), BarMs(bar) + BeatMs(1) - 1, "flash", FLASH, -1, -1, {}, {}, "flash on the bar, keyed"};
      flash.constants = {Keyed(Constant("flashAmount", {0.0}), FLASH_TRACK), Constant("colour", {1.0, 0.92, 0.85})};
      chain.push_back(flash);
    }

    if (section.firstBar > 0) {
      int style = section.firstBar / 8 % 3;
      PostEffectDefinition opening{window.start, window.start + BeatMs(1) - 1, "transition", TRANSITION, -1, -1, {}, {}, "transition: opening"};
      opening.constants = {Constant("wipeAmount", {1.0}), Constant("closing", {0.0}), Constant("style", {static_cast<double>(style)})};
      PostEffectDefinition closing{window.start - BeatMs(1), window.start - 1, "transition", TRANSITION, -1, -1, {}, {}, "transition: closing"};
      closing.constants = {Constant("wipeAmount", {1.0}), Constant("closing", {1.0}), Constant("style", {static_cast<double>(style)})};
      chain.push_back(closing);
      chain.push_back(opening);
    }
  }
}

void Builder::CustomTextures() {
  mPicture.definitions.customTextures = {
      {"grainTex", "data\\texture\\grain.png"},     {"titleTex", "data\\texture\\title.png"},
      {"latticeTex", "data\\texture\\lattice.bmp"}, {"terrainTex", "data\\texture\\terrain.jpg"},
      {"textTex", "data\\texture\\text.tga"},        {"skyTex", "data\\texture\\sky.hdr"},
      {"envCube", "data\\texture\\environment.dds"},
  };
}

// ---- the feature table ----

std::string TextureEntryText(const CustomTextureDefinition& texture) {
  return "<TextureEntry sampler=\"" + texture.sampler + "\" path=\"" + texture.path + "\"/>";
}

void Builder::Features() {
  const std::string TEXTURES = "data\\definition\\customTextureDefine.xml";
  const std::string POST = "data\\definition\\postEffectDefine.xml";
  const std::string LINES = "data\\definition\\sceneLineDefine.xml";
  auto at = [](SectionId id, double bar) { return BarMs(SectionOf(id).firstBar + bar); };
  auto texture = [&](const std::string& sampler) {
    for (const CustomTextureDefinition& entry : mPicture.definitions.customTextures) {
      if (entry.sampler == sampler) return TextureEntryText(entry);
    }
    return std::string();
  };
  Feature("PNG texture: the title", at(SectionId::Intro, 6.5), TEXTURES, texture("titleTex"));
  Feature("BMP texture with the blue key: the tunnel's lattice", at(SectionId::Tunnel, 2.5), TEXTURES, texture("latticeTex"));
  Feature("JPEG texture: the terrain", at(SectionId::City, 2.5), TEXTURES, texture("terrainTex"));
  Feature("run-length TGA texture: captions and credits", at(SectionId::Credits, 2.5), TEXTURES, texture("textTex"));
  Feature("Radiance HDR environment: the sky", at(SectionId::Knot, 6.5), TEXTURES, texture("skyTex"));
  Feature("DDS DXT1 cube map: the glass's reflections", at(SectionId::Knot, 6.5), TEXTURES, texture("envCube"));
  Feature("custom texture: film grain", at(SectionId::Breakdown, 2.5), TEXTURES, texture("grainTex"));
  Feature("post-effect input, scene line colour", at(SectionId::Tunnel, 6.5), POST, "<SourceLineEntry param=\"sceneTex\" type=\"color\" lineId=\"0\"/>");
  Feature("post-effect input, scene line depth: fog", at(SectionId::City, 10.5), POST, "<SourceLineEntry param=\"sceneDepth\" type=\"depth\" lineId=\"0\"/>");
  Feature("post-effect input, work buffer: bloom", at(SectionId::Swarm, 2.5), POST, "<SourceLineEntry param=\"bloomTex\" type=\"color\" lineId=\"w3\"/>");
  Feature("work buffer as a render target", at(SectionId::Swarm, 2.5), POST, "renderTarget=\"3\"", "renderTarget=\"13\"");
  Feature("depth of field from the line's depth", at(SectionId::Knot, 2.5), POST, "param=\"aperture\"", "param=\"noAperture\"");
  Feature("fog from the line's depth", at(SectionId::City, 6.5), POST, "param=\"fogDensity\" type=\"float\" value=\"0.011\"",
          "param=\"fogDensity\" type=\"float\" value=\"0\"");
  Feature("colour grading: saturation", at(SectionId::Breakdown, 6.5), POST, "param=\"saturation\"", "param=\"noSaturation\"");
  Feature("vignette", at(SectionId::Breakdown, 6.5), POST, "param=\"vignette\"", "param=\"noVignette\"");
  Feature("film grain", at(SectionId::Breakdown, 6.5), POST, "param=\"grain\"", "param=\"noGrain\"");
  Feature("chromatic aberration and glitch", at(SectionId::Breakdown, 4.25), POST, "param=\"glitchAmount\"", "param=\"noGlitch\"");
  Feature("transition between sections", BarMs(SectionOf(SectionId::Knot).firstBar) + BeatMs(0.25), POST,
          "param=\"wipeAmount\"", "param=\"noWipe\"");
  Feature("flash on the bar", at(SectionId::Swarm, 1) + BeatMs(0.1), POST, "param=\"flashAmount\"", "param=\"noFlash\"");
  Feature("sync tracks: flashes and fades keyed on the music's rows", at(SectionId::Knot, 1) + BeatMs(0.1), SYNC_TRACKS_PATH,
          "<track name=\"" + std::string(FLASH_TRACK) + "\">", "<track name=\"unused\">");
  Feature("cut class of our own: CSceneTdf_swarm", at(SectionId::Swarm, 6.5), "data\\tdf\\swarm.tdf", "Scene \"" + std::string(SWARM_SCENE_PREFIX) + "_b\"",
          "Scene \"plain_b\"");
  Feature("many copies through cMassMqoRender", at(SectionId::Finale, 2.5), "data\\tdf\\finaleShards.tdf",
          "Scene \"" + std::string(SWARM_SCENE_PREFIX) + "_finale_a\"",
          "Scene \"plain_finale_a\"");
  Feature("many keyed objects: 64 title tiles", at(SectionId::Intro, 4.5), "data\\tdf\\intro.tdf", "Object 5 {\n    CameraTrans 1\n    Visible 1",
          "Object 5 {\n    CameraTrans 1\n    Visible 0");
  for (int line : {LINE_MAIN, LINE_TEXT, LINE_SWARM}) {
    uint32_t time = at(SectionId::Finale, 6.5);
    for (const SceneLineDefinition& entry : mPicture.definitions.sceneLines) {
      if (entry.line != line || entry.start > time || entry.end < time) continue;
      // An id that no animation entry has leaves the line without a scene.
      Feature("three scene lines at once: line " + std::to_string(line), time, LINES, "tdfId=\"" + entry.tdfId + "\"",
              "tdfId=\"none\"");
      break;
    }
  }
}

ShowcasePicture Builder::Build() {
  Captions();
  Intro();
  Tunnel();
  Knot();
  City();
  Swarm();
  Breakdown();
  Finale();
  Credits();
  CustomTextures();
  PostChain();
  Features();
  return mPicture;
}

}  // namespace

ShowcasePicture BuildShowcasePicture(const TextAtlas& atlas) { return Builder(atlas).Build(); }

std::string WriteFeatureTable(const std::vector<FeatureCheck>& features) {
  auto escape = [](const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
  };
  std::string out = "# feature\ttime_ms\tfile\tremoved\treplacement\n";
  for (const FeatureCheck& f : features) {
    out += f.feature + "\t" + std::to_string(f.time) + "\t" + f.file + "\t" + escape(f.remove) + "\t" + escape(f.replacement) + "\n";
  }
  return out;
}
