#pragma once
// The rule that keeps the graphics library behind its layers: outside the folders that wrap it,
// no source calls a GL function, names a GL enumerant or type, or includes a GL header. Comments
// and string literals are not code and may name GL things.

#include <string>
#include <vector>

// The folders that may use GL directly.
inline const std::vector<std::string> GRAPHICS_LAYERS = {"platform", "window", "render"};

struct GraphicsUse {
  std::string file;  // relative to the tree's root
  int line;
  std::string token;  // what was found: "glClear", "GL_BLEND", "GLuint", "GL/glew.h"
};

// The source text with comments and the contents of string and character literals blanked,
// line breaks kept so that line numbers still hold.
std::string CodeOnly(const std::string& source);

// Every GL use in the .h and .cpp files under root's folders named in layers, outside those in
// allowed.
std::vector<GraphicsUse> FindGraphicsUses(const std::string& root, const std::vector<std::string>& layers,
                                          const std::vector<std::string>& allowed);

// "file:line: uses GL (token) outside platform/, window/ and render/".
std::string Describe(const GraphicsUse& use);
