#include "content/showcase/generators/models.h"

#include <cmath>
#include <cstdio>

#include "content/showcase/generators/landscape.h"
#include "content/showcase/generators/text_atlas.h"

namespace {

constexpr double PI = 3.141592653589793;
using Uv = std::array<double, 2>;

MeshMaterial Material(const std::string& name, std::array<double, 4> colour, const std::string& texture = "") {
  MeshMaterial material;
  material.name = name;
  material.color = colour;
  material.texture = texture;
  return material;
}

// A quad a-b-c-d wound so that it faces along `facing`.
void AddFacingQuad(MeshObject& object, Vec3 a, Vec3 b, Vec3 c, Vec3 d, std::array<Uv, 4> uv, Vec3 facing, int material) {
  int ia = object.AddVertex(a), ib = object.AddVertex(b), ic = object.AddVertex(c), id = object.AddVertex(d);
  if (Dot(Cross(b - a, c - a), facing) >= 0.0) {
    object.AddQuad(ia, ib, ic, id, uv[0], uv[1], uv[2], uv[3], material);
  } else {
    object.AddQuad(ia, id, ic, ib, uv[0], uv[3], uv[2], uv[1], material);
  }
}

// A triangle a-b-c wound so that it faces along `facing`.
void AddFacingTriangle(MeshObject& object, Vec3 a, Vec3 b, Vec3 c, std::array<Uv, 3> uv, Vec3 facing, int material) {
  int ia = object.AddVertex(a), ib = object.AddVertex(b), ic = object.AddVertex(c);
  if (Dot(Cross(b - a, c - a), facing) >= 0.0) object.AddTriangle(ia, ib, ic, uv[0], uv[1], uv[2], material);
  else object.AddTriangle(ia, ic, ib, uv[0], uv[2], uv[1], material);
}

Vec3 OnCircle(double radius, double angle, double z) { return {radius * std::cos(angle), radius * std::sin(angle), z}; }

void AddRing(MeshObject& rings, double z, int segments, int material) {
  constexpr double INNER = 2.6, OUTER = TUNNEL_RADIUS, HALF_WIDTH = 0.22;
  for (int i = 0; i < segments; ++i) {
    double a0 = 2.0 * PI * i / segments, a1 = 2.0 * PI * (i + 1) / segments;
    double u0 = 8.0 * i / segments, u1 = 8.0 * (i + 1) / segments;
    Vec3 middle = OnCircle(1.0, 0.5 * (a0 + a1), 0.0);
    Vec3 in00 = OnCircle(INNER, a0, z - HALF_WIDTH), in10 = OnCircle(INNER, a1, z - HALF_WIDTH);
    Vec3 in01 = OnCircle(INNER, a0, z + HALF_WIDTH), in11 = OnCircle(INNER, a1, z + HALF_WIDTH);
    Vec3 out00 = OnCircle(OUTER, a0, z - HALF_WIDTH), out10 = OnCircle(OUTER, a1, z - HALF_WIDTH);
    Vec3 out01 = OnCircle(OUTER, a0, z + HALF_WIDTH), out11 = OnCircle(OUTER, a1, z + HALF_WIDTH);
    AddFacingQuad(rings, in00, in10, in11, in01, {Uv{u0, 0}, Uv{u1, 0}, Uv{u1, 0.25}, Uv{u0, 0.25}}, middle * -1.0, material);
    AddFacingQuad(rings, out00, out10, out11, out01, {Uv{u0, 0.5}, Uv{u1, 0.5}, Uv{u1, 0.75}, Uv{u0, 0.75}}, middle, material);
    AddFacingQuad(rings, in01, in11, out11, out01, {Uv{u0, 0.25}, Uv{u1, 0.25}, Uv{u1, 0.5}, Uv{u0, 0.5}}, {0, 0, 1}, material);
    AddFacingQuad(rings, in00, in10, out10, out00, {Uv{u0, 0.75}, Uv{u1, 0.75}, Uv{u1, 1}, Uv{u0, 1}}, {0, 0, -1}, material);
  }
}

// A tube's inside or outside surface between angles, in sections along z (so that effects can bend
// it smoothly).
void AddTubeSurface(MeshObject& object, double radius, double angle0, double angle1, int around, double zFront, double zBack,
                    int sections, double uRepeats, double vPerUnit, bool inward, int material) {
  for (int s = 0; s < sections; ++s) {
    double z0 = zFront + (zBack - zFront) * s / sections, z1 = zFront + (zBack - zFront) * (s + 1) / sections;
    for (int i = 0; i < around; ++i) {
      double a0 = angle0 + (angle1 - angle0) * i / around, a1 = angle0 + (angle1 - angle0) * (i + 1) / around;
      double u0 = uRepeats * i / around, u1 = uRepeats * (i + 1) / around;
      double v0 = -z0 * vPerUnit, v1 = -z1 * vPerUnit;
      Vec3 middle = OnCircle(inward ? -1.0 : 1.0, 0.5 * (a0 + a1), 0.0);
      AddFacingQuad(object, OnCircle(radius, a0, z0), OnCircle(radius, a1, z0), OnCircle(radius, a1, z1), OnCircle(radius, a0, z1),
                    {Uv{u0, v0}, Uv{u1, v0}, Uv{u1, v1}, Uv{u0, v1}}, middle, material);
    }
  }
}

Vec3 KnotPoint(double t) {
  constexpr double SCALE = 0.95;
  double r = 2.0 + std::cos(3.0 * t);
  return Vec3{r * std::cos(2.0 * t), std::sin(3.0 * t) * 1.1, r * std::sin(2.0 * t)} * SCALE;
}

Vec3 Rotate(Vec3 v, Vec3 axis, double angle) {
  // Rodrigues' rotation of v about a unit axis.
  return v * std::cos(angle) + Cross(axis, v) * std::sin(angle) + axis * (Dot(axis, v) * (1.0 - std::cos(angle)));
}

}  // namespace

std::string TitleTileName(int column, int row) {
  char name[16];
  std::snprintf(name, sizeof name, "t%02d", row * TITLE_TILES_ACROSS + column);
  return name;
}

Mesh TunnelModel() {
  Mesh mesh;
  mesh.materials = {Material("ring@tunnelRing", {0.72, 0.76, 0.86, 1}, "..\\texture\\metal.png"),
                    Material("lattice@tunnelLattice", {1, 1, 1, 1}),
                    Material("strip@tunnelStrip", {0.35, 0.85, 1.0, 1})};
  MeshObject& rings = mesh.AddObject("rings", 30.0);
  for (int k = 0; k < TUNNEL_RINGS; ++k) AddRing(rings, -k * TUNNEL_RING_SPACING, 40, 0);
  double back = -TUNNEL_RINGS * TUNNEL_RING_SPACING;
  MeshObject& walls = mesh.AddObject("walls", 89.0);
  AddTubeSurface(walls, 3.25, 0.0, 2.0 * PI, 32, 2.0, back, TUNNEL_RINGS, 8.0, 0.5, true, 1);
  MeshObject& strips = mesh.AddObject("strips", 89.0);
  for (int k = 0; k < 6; ++k) {
    double angle = PI / 6.0 + k * PI / 3.0;
    AddTubeSurface(strips, 3.1, angle - 0.025, angle + 0.025, 1, 2.0, back, TUNNEL_RINGS, 1.0, 0.5, true, 2);
  }
  return mesh;
}

Mesh KnotModel() {
  constexpr int ALONG = 300, AROUND = 24;
  constexpr double TUBE = 0.36;
  Mesh mesh;
  mesh.materials = {Material("glass@glass", {0.85, 0.95, 1.0, 1})};
  MeshObject& knot = mesh.AddObject("knot", 80.0);
  // Frames carried along the curve without twisting, then the small twist left at the seam spread
  // evenly over the length so that the tube closes.
  std::vector<Vec3> centres(ALONG), tangents(ALONG), normals(ALONG);
  for (int i = 0; i < ALONG; ++i) {
    double t = 2.0 * PI * i / ALONG;
    centres[i] = KnotPoint(t);
    tangents[i] = Normalize(KnotPoint(t + 1e-4) - KnotPoint(t - 1e-4));
  }
  normals[0] = Normalize(Cross(tangents[0], {0, 1, 0}));
  for (int i = 1; i < ALONG; ++i) {
    Vec3 n = normals[i - 1];
    normals[i] = Normalize(n - tangents[i] * Dot(n, tangents[i]));
  }
  Vec3 closing = Normalize(normals[ALONG - 1] - tangents[0] * Dot(normals[ALONG - 1], tangents[0]));
  double twist = std::atan2(Dot(Cross(closing, normals[0]), tangents[0]), Dot(closing, normals[0]));
  std::vector<std::vector<int>> ring(ALONG + 1, std::vector<int>(AROUND + 1));
  for (int i = 0; i <= ALONG; ++i) {
    int k = i % ALONG;
    Vec3 normal = Rotate(normals[k], tangents[k], twist * k / ALONG);
    Vec3 binormal = Cross(tangents[k], normal);
    for (int j = 0; j <= AROUND; ++j) {
      double a = 2.0 * PI * (j % AROUND) / AROUND;
      ring[i][j] = knot.AddVertex(centres[k] + (normal * std::cos(a) + binormal * std::sin(a)) * TUBE);
    }
  }
  for (int i = 0; i < ALONG; ++i) {
    for (int j = 0; j < AROUND; ++j) {
      Uv a{8.0 * i / ALONG, 1.0 * j / AROUND}, b{8.0 * (i + 1) / ALONG, 1.0 * j / AROUND};
      Uv c{8.0 * (i + 1) / ALONG, 1.0 * (j + 1) / AROUND}, d{8.0 * i / ALONG, 1.0 * (j + 1) / AROUND};
      Vec3 outward = knot.vertices[ring[i][j]] - centres[i % ALONG];
      Vec3 p0 = knot.vertices[ring[i][j]], p1 = knot.vertices[ring[i + 1][j]], p2 = knot.vertices[ring[i + 1][j + 1]];
      if (Dot(Cross(p1 - p0, p2 - p0), outward) >= 0.0) {
        knot.AddQuad(ring[i][j], ring[i + 1][j], ring[i + 1][j + 1], ring[i][j + 1], a, b, c, d, 0);
      } else {
        knot.AddQuad(ring[i][j], ring[i][j + 1], ring[i + 1][j + 1], ring[i + 1][j], a, d, c, b, 0);
      }
    }
  }
  return mesh;
}

Mesh TerrainModel(const std::string& effect) {
  constexpr int CELLS = 112;
  Mesh mesh;
  mesh.materials = {Material("ground@" + effect, {1, 1, 1, 1})};
  MeshObject& terrain = mesh.AddObject("terrain", 60.0);
  double size = 2.0 * LANDSCAPE_HALF_SIZE;
  std::vector<int> index((CELLS + 1) * (CELLS + 1));
  for (int j = 0; j <= CELLS; ++j) {
    for (int i = 0; i <= CELLS; ++i) {
      double x = -LANDSCAPE_HALF_SIZE + size * i / CELLS, z = -LANDSCAPE_HALF_SIZE + size * j / CELLS;
      index[j * (CELLS + 1) + i] = terrain.AddVertex({x, TerrainHeight(x, z), z});
    }
  }
  for (int j = 0; j < CELLS; ++j) {
    for (int i = 0; i < CELLS; ++i) {
      int a = index[j * (CELLS + 1) + i], b = index[j * (CELLS + 1) + i + 1];
      int c = index[(j + 1) * (CELLS + 1) + i + 1], d = index[(j + 1) * (CELLS + 1) + i];
      Uv ua{1.0 * i / CELLS, 1.0 * j / CELLS}, ub{1.0 * (i + 1) / CELLS, 1.0 * j / CELLS};
      Uv uc{1.0 * (i + 1) / CELLS, 1.0 * (j + 1) / CELLS}, ud{1.0 * i / CELLS, 1.0 * (j + 1) / CELLS};
      // Looking down (+y), x to the right and z towards the viewer, a-d-c-b runs counter-clockwise.
      terrain.AddQuad(a, d, c, b, ua, ud, uc, ub, 0);
    }
  }
  return mesh;
}

Mesh CityModel() {
  Mesh mesh;
  mesh.materials = {Material("facade@city", {1, 1, 1, 1}, "..\\texture\\windows.png")};
  MeshObject& city = mesh.AddObject("city", 20.0);
  for (const CityBlock& block : CityBlocks()) city.AddBox(block.low, block.high, 2.0, 0);
  return mesh;
}

Mesh TitleModel() {
  constexpr double DEPTH = 0.05;
  Mesh mesh;
  mesh.materials = {Material("face@titlePanel", {1, 1, 1, 1}), Material("edge@titlePanel", {0.18, 0.2, 0.24, 1})};
  double tileWidth = TITLE_WIDTH / TITLE_TILES_ACROSS, tileHeight = TITLE_HEIGHT / TITLE_TILES_DOWN;
  for (int row = 0; row < TITLE_TILES_DOWN; ++row) {
    for (int column = 0; column < TITLE_TILES_ACROSS; ++column) {
      double x0 = -TITLE_WIDTH / 2 + column * tileWidth, x1 = x0 + tileWidth;
      double y1 = TITLE_HEIGHT / 2 - row * tileHeight, y0 = y1 - tileHeight;
      MeshObject& tile = mesh.AddObject(TitleTileName(column, row), 30.0);
      // The back and the sides in the edge material, then the face showing its piece of the title,
      // far enough in front of the box's own front side that depth tests never mix the two.
      tile.AddBox({x0, y0, -DEPTH}, {x1, y1, DEPTH - 0.01}, 1.0, 1);
      double u0 = 1.0 * column / TITLE_TILES_ACROSS, u1 = 1.0 * (column + 1) / TITLE_TILES_ACROSS;
      double v0 = 1.0 * row / TITLE_TILES_DOWN, v1 = 1.0 * (row + 1) / TITLE_TILES_DOWN;
      AddFacingQuad(tile, {x0, y1, DEPTH}, {x1, y1, DEPTH}, {x1, y0, DEPTH}, {x0, y0, DEPTH},
                    {Uv{u0, v0}, Uv{u1, v0}, Uv{u1, v1}, Uv{u0, v1}}, {0, 0, 1}, 0);
    }
  }
  for (int row = 0; row < TITLE_TILES_DOWN; ++row) {
    for (int column = 0; column < TITLE_TILES_ACROSS; ++column) {
      double cx = -TITLE_WIDTH / 2 + (column + 0.5) * tileWidth, cy = TITLE_HEIGHT / 2 - (row + 0.5) * tileHeight;
      mesh.AddPivot(TitleTileName(column, row), {cx, cy, 0.0});
    }
  }
  return mesh;
}

Mesh TextModel(const TextAtlas& atlas) {
  Mesh mesh;
  mesh.materials = {Material("text@textPanel", {1, 1, 1, 1})};
  double width = atlas.image.width, height = atlas.image.height;
  for (const TextPlacement& place : atlas.placements) {
    MeshObject& panel = mesh.AddObject(place.id, 0.0);
    double halfWidth = 0.5 * place.width / place.height;
    double u0 = place.x / width, u1 = (place.x + place.width) / width;
    double v0 = place.y / height, v1 = (place.y + place.height) / height;
    // Seen from the fixed front view (from -z towards +z), +x is on the left: the text's start
    // goes there, and the panel faces -z.
    AddFacingQuad(panel, {halfWidth, 0.5, 0}, {-halfWidth, 0.5, 0}, {-halfWidth, -0.5, 0}, {halfWidth, -0.5, 0},
                  {Uv{u0, v0}, Uv{u1, v0}, Uv{u1, v1}, Uv{u0, v1}}, {0, 0, -1}, 0);
  }
  return mesh;
}

Mesh ShardModel() {
  constexpr int SIDES = 5;
  Mesh mesh;
  mesh.materials = {Material("shard@shard", {1, 1, 1, 1})};
  MeshObject& shard = mesh.AddObject("shard", 10.0);
  Vec3 top{0, 0.55, 0}, bottom{0, -0.45, 0};
  for (int i = 0; i < SIDES; ++i) {
    double a0 = 2.0 * PI * i / SIDES, a1 = 2.0 * PI * (i + 1) / SIDES;
    Vec3 p0{0.13 * std::cos(a0), 0.05, 0.13 * std::sin(a0)}, p1{0.13 * std::cos(a1), 0.05, 0.13 * std::sin(a1)};
    Vec3 out = OnCircle(1.0, 0.5 * (a0 + a1), 0.0);
    Vec3 outward{out.x, 0.0, out.y};
    for (Vec3 tip : {top, bottom}) {
      double v = tip.y > 0 ? 0.0 : 1.0;
      AddFacingTriangle(shard, p0, p1, tip, {Uv{0, 0.5}, Uv{1, 0.5}, Uv{0.5, v}}, outward + Vec3{0, tip.y, 0}, 0);
    }
  }
  return mesh;
}

Mesh SwarmControlModel() {
  Mesh mesh;
  mesh.materials = {Material("control", {1, 1, 1, 1})};
  MeshObject& control = mesh.AddObject("swarm", 0.0);
  int a = control.AddVertex({0, 0, 0}), b = control.AddVertex({0.001, 0, 0}), c = control.AddVertex({0, 0.001, 0});
  control.AddTriangle(a, b, c, {0, 0}, {1, 0}, {0, 1}, 0);
  return mesh;
}

Mesh SkyModel() {
  constexpr int AROUND = 48, DOWN = 24;
  constexpr double RADIUS = 120.0;
  Mesh mesh;
  mesh.materials = {Material("sky@sky", {1, 1, 1, 1})};
  MeshObject& sky = mesh.AddObject("sky", 89.0);
  auto point = [&](int i, int j) {
    double theta = PI * j / DOWN, phi = 2.0 * PI * i / AROUND;
    return Vec3{std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi)} * RADIUS;
  };
  for (int j = 0; j < DOWN; ++j) {
    for (int i = 0; i < AROUND; ++i) {
      Vec3 a = point(i, j), b = point(i + 1, j), c = point(i + 1, j + 1), d = point(i, j + 1);
      Uv ua{1.0 * i / AROUND, 1.0 * j / DOWN}, ub{1.0 * (i + 1) / AROUND, 1.0 * j / DOWN};
      Uv uc{1.0 * (i + 1) / AROUND, 1.0 * (j + 1) / DOWN}, ud{1.0 * i / AROUND, 1.0 * (j + 1) / DOWN};
      Vec3 inward = (a + c) * -0.5;
      // The rows at the poles have one corner there: triangles, not quads.
      if (j == 0) {
        AddFacingTriangle(sky, a, c, d, {ua, uc, ud}, inward, 0);
      } else if (j == DOWN - 1) {
        AddFacingTriangle(sky, a, b, c, {ua, ub, uc}, inward, 0);
      } else {
        AddFacingQuad(sky, a, b, c, d, {ua, ub, uc, ud}, inward, 0);
      }
    }
  }
  return mesh;
}

Mesh StageModel() {
  constexpr int AROUND = 64, RINGS = 8;
  constexpr double RADIUS = 70.0;
  Mesh mesh;
  mesh.materials = {Material("floor@stage", {1, 1, 1, 1})};
  MeshObject& floor = mesh.AddObject("floor", 89.0);
  for (int r = 0; r < RINGS; ++r) {
    double r0 = RADIUS * r / RINGS, r1 = RADIUS * (r + 1) / RINGS;
    for (int i = 0; i < AROUND; ++i) {
      double a0 = 2.0 * PI * i / AROUND, a1 = 2.0 * PI * (i + 1) / AROUND;
      Vec3 p00{r0 * std::cos(a0), 0, r0 * std::sin(a0)}, p10{r0 * std::cos(a1), 0, r0 * std::sin(a1)};
      Vec3 p01{r1 * std::cos(a0), 0, r1 * std::sin(a0)}, p11{r1 * std::cos(a1), 0, r1 * std::sin(a1)};
      Uv uv{0, 0};
      if (r == 0) {
        AddFacingTriangle(floor, p00, p01, p11, {uv, uv, uv}, {0, 1, 0}, 0);
      } else {
        AddFacingQuad(floor, p00, p10, p11, p01, {uv, uv, uv, uv}, {0, 1, 0}, 0);
      }
    }
  }
  return mesh;
}
