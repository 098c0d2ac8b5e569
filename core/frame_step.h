#pragma once
// The frame step: exactly eight hooks of five managers, in a fixed order.

class InterfaceBase;

struct FrameHooks {
  InterfaceBase* profile;
  InterfaceBase* flags;
  InterfaceBase* system;
  InterfaceBase* renderer;
  InterfaceBase* demo;
};

// Runs one frame; the demo's FrameUpdate decides whether the loop goes on, but the renderer
// still executes and presents the frame in which it said no.
bool RunFrame(const FrameHooks& hooks);

// The frame step of the engine's own managers.
bool RunFrame();
