#pragma once
// Compiles and links the GLSL program of one pass, with compiler messages turned into
// "file:line:column: text" lines that point into the effect file.

#include <string>

#include <GL/glew.h>

// The linked program, or 0 with the compiler's or linker's messages appended to log. With
// esAttributes the fixed-function inputs of a GLSL ES translation are bound where the engine
// feeds them.
GLuint CompileEffectProgram(const std::string& vertexGlsl, const std::string& fragmentGlsl, const std::string& fileName,
                            std::string& log, bool esAttributes = false);

// Rewrites the message lines of a GLSL compiler log ("0:12(5): error: ..." from Mesa,
// "0(12) : error ..." from others) to "fileName:12:5: error: ..."; other lines get "fileName: ".
std::string LocateCompilerLog(const std::string& log, const std::string& fileName);
