#pragma once
// Dear ImGui over a window of platform/window.h and its OpenGL context: the SDL2 and OpenGL 2
// backends that Debian's libimgui-dev ships as example sources, compiled as they are. The caller
// builds its windows with ImGui between BeginImGuiFrame and EndImGuiFrame.

namespace platform {

struct Window;
struct GLContext;

// Creates the ImGui context and starts both backends; the window's events reach ImGui from then on
// (through the event pump). False when a backend does not start.
bool StartImGui(Window* window, GLContext* context);
void StopImGui();
bool ImGuiStarted();
void BeginImGuiFrame();
// Draws the frame's windows into the current framebuffer.
void EndImGuiFrame();

}  // namespace platform
