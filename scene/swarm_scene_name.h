#pragma once
// How a scene asks for the swarm cut class: its name begins with SWARM_SCENE_PREFIX, which no
// author writes by chance. The class's record is named the scene class prefix followed by it, so
// the player finds it as it finds every scene class. Written once for the player and the
// programs that write productions.

inline constexpr char SWARM_SCENE_PREFIX[] = "torvane:swarm";
inline constexpr char SWARM_CLASS_NAME[] = "CSceneTdf_torvane:swarm";
