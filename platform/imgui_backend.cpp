#include "platform/imgui_backend.h"

#include <SDL2/SDL.h>
#include <imgui.h>
#include <imgui_impl_opengl2.h>
#include <imgui_impl_sdl.h>

#include "platform/events.h"
#include "platform/window.h"

namespace platform {

namespace {

bool gStarted = false;

void FeedImGui(const void* nativeEvent) { ImGui_ImplSDL2_ProcessEvent(static_cast<const SDL_Event*>(nativeEvent)); }

}  // namespace

bool StartImGui(Window* window, GLContext* context) {
  if (gStarted) return true;
  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  // No imgui.ini: the layout is the interface's own each time.
  ImGui::GetIO().IniFilename = nullptr;
  ImGui::StyleColorsDark();
  if (!ImGui_ImplSDL2_InitForOpenGL(static_cast<SDL_Window*>(NativeWindow(window)), context)) {
    ImGui::DestroyContext();
    return false;
  }
  if (!ImGui_ImplOpenGL2_Init()) {
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    return false;
  }
  SetNativeEventObserver(FeedImGui);
  gStarted = true;
  return true;
}

void StopImGui() {
  if (!gStarted) return;
  SetNativeEventObserver(nullptr);
  ImGui_ImplOpenGL2_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext();
  gStarted = false;
}

bool ImGuiStarted() { return gStarted; }

void BeginImGuiFrame() {
  ImGui_ImplOpenGL2_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
}

void EndImGuiFrame() {
  ImGui::Render();
  ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
}

}  // namespace platform
