#pragma once
// The core effects that frame composition draws with, by their paths in the pack: the player
// needs them and the checker names them when they are missing.

inline constexpr const char NULL_POST_EFFECT_PATH[] = "data\\core\\shader\\nullPostEffect.cgfx";
inline constexpr const char FINAL_SCREEN_SHADER_PATH[] = "data\\core\\shader\\finalScreenShader.cgfx";
inline constexpr const char MSAA_SHADER_PATH[] = "data\\core\\shader\\msaa.cgfx";
