#include "tests/architecture/graphics_calls.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool IsSource(const fs::path& path) { return path.extension() == ".h" || path.extension() == ".cpp"; }

bool IsAllowed(const std::string& folder, const std::vector<std::string>& allowed) {
  return std::find(allowed.begin(), allowed.end(), folder) != allowed.end();
}

const std::regex& GraphicsToken() {
  static const std::regex token(
      R"(#\s*include\s*<(GL/[^>]*|SDL_opengl[^>]*|epoxy/[^>]*)>|\b(glu?[A-Z]\w*)\s*\(|\b(GL_\w+)\b|\b(GL(?:uint|int|enum|float|double|sizei|sizeiptr|ubyte|boolean|bitfield|uint64|char|void)\b))");
  return token;
}

std::string FirstMatched(const std::smatch& match) {
  for (size_t group = 1; group < match.size(); ++group) {
    if (match[group].matched) return match[group].str();
  }
  return match.str();
}

void CheckFile(const fs::path& root, const fs::path& file, std::vector<GraphicsUse>& found) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  std::istringstream code(CodeOnly(text.str()));
  std::string relative = fs::relative(file, root).generic_string();
  std::string line;
  for (int number = 1; std::getline(code, line); ++number) {
    for (std::sregex_iterator it(line.begin(), line.end(), GraphicsToken()), end; it != end; ++it) {
      found.push_back({relative, number, FirstMatched(*it)});
    }
  }
}

}  // namespace

std::string CodeOnly(const std::string& source) {
  std::string code = source;
  enum class State { Code, LineComment, BlockComment, String, Character } state = State::Code;
  for (size_t i = 0; i < code.size(); ++i) {
    char c = code[i];
    char next = i + 1 < code.size() ? code[i + 1] : '\0';
    switch (state) {
      case State::Code:
        if (c == '/' && next == '/') state = State::LineComment;
        if (c == '/' && next == '*') state = State::BlockComment;
        if (c == '"') state = State::String;
        if (c == '\'') state = State::Character;
        if (state == State::LineComment || state == State::BlockComment) code[i] = ' ';
        break;
      case State::LineComment:
        if (c == '\n') state = State::Code; else code[i] = ' ';
        break;
      case State::BlockComment:
        if (c == '*' && next == '/') {
          code[i] = code[i + 1] = ' ';
          ++i;
          state = State::Code;
        } else if (c != '\n') {
          code[i] = ' ';
        }
        break;
      case State::String:
      case State::Character:
        if (c == '\\' && next != '\0') {
          code[i] = ' ';
          if (next != '\n') code[i + 1] = ' ';
          ++i;
        } else if ((state == State::String && c == '"') || (state == State::Character && c == '\'')) {
          state = State::Code;
        } else if (c != '\n') {
          code[i] = ' ';
        }
        break;
    }
  }
  return code;
}

std::vector<GraphicsUse> FindGraphicsUses(const std::string& root, const std::vector<std::string>& layers,
                                          const std::vector<std::string>& allowed) {
  std::vector<fs::path> files;
  for (const std::string& layer : layers) {
    fs::path folder = fs::path(root) / layer;
    if (layer.find('/') != std::string::npos || IsAllowed(layer, allowed) || !fs::is_directory(folder)) continue;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file() && IsSource(entry.path())) files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  std::vector<GraphicsUse> found;
  for (const fs::path& file : files) CheckFile(root, file, found);
  return found;
}

std::string Describe(const GraphicsUse& use) {
  return use.file + ":" + std::to_string(use.line) + ": uses GL (" + use.token +
         ") outside platform/, window/ and render/";
}
