#include "dev/control_server.h"

#include "demo/demo_manager.h"
#include "dev/control_command.h"
#include "dev/dev_session.h"
#include "dev/track_answers.h"
#include "files/json_value.h"
#include "scene/demo_scene.h"

namespace {

JsonValue Ok() { return JsonValue::Object().Set("ok", true); }

JsonValue LoopState(const Transport& transport) {
  return JsonValue::Object()
      .Set("on", transport.Loop().on)
      .Set("from", transport.LoopStart())
      .Set("to", transport.LoopEnd());
}

// What each line shows at t: its scene line entry and the cut of it.
JsonValue LineState(uint32_t t) {
  JsonValue lines = JsonValue::Array();
  const std::vector<SceneLineEntry>& entries = gDemoManager.SceneLines();
  for (int line = 0; line < SCENE_LINE_COUNT; ++line) {
    const SceneSlot* slot = gDemoManager.LineTable().ActiveSlot(line, t);
    if (!slot) continue;
    JsonValue state = JsonValue::Object().Set("line", line).Set("entry", slot->entry);
    if (slot->entry >= 0 && static_cast<size_t>(slot->entry) < entries.size()) {
      state.Set("tdf", entries[static_cast<size_t>(slot->entry)].tdfId);
    }
    const cDemoScene* scene = gDemoManager.SceneOf(static_cast<size_t>(slot->entry));
    int cut = scene ? ActiveCut(*scene, t) : -1;
    state.Set("cut", cut);
    if (cut >= 0) state.Set("scene", scene->Cuts()[static_cast<size_t>(cut)]->GetSceneName());
    lines.Append(std::move(state));
  }
  return lines;
}

JsonValue State(DevSession& session) {
  Transport& transport = session.GetTransport();
  JsonValue errors = JsonValue::Array();
  for (const std::string& error : session.ReloadErrors()) errors.Append(error);
  return Ok()
      .Set("time", transport.Time())
      .Set("playing", transport.IsPlaying())
      .Set("length", transport.Length())
      .Set("loop", LoopState(transport))
      .Set("speed", transport.Speed() == PlaybackSpeed::Half ? 0.5 : 1.0)
      .Set("muted", transport.IsMuted())
      .Set("lines", LineState(transport.Time()))
      .Set("frameMs", static_cast<double>(session.FrameTime()))
      .Set("reloads", static_cast<uint32_t>(session.ReloadCount()))
      .Set("errors", std::move(errors));
}

}  // namespace

void ControlServer::Poll() {
  mSocket.Poll([this](int client, const std::string& line, bool cutOff) {
    std::string answer = cutOff ? ControlErrorAnswer("the request line is too long") : Answer(client, line);
    if (!answer.empty()) mSocket.Send(client, answer);
  });
}

std::string ControlServer::Answer(int client, const std::string& line) {
  ControlCommand command;
  std::string error;
  if (!ParseControlCommand(line, command, error)) return ControlErrorAnswer(error);
  Transport& transport = mSession.GetTransport();
  switch (command.kind) {
    case ControlCommandKind::State: return State(mSession).Serialize();
    case ControlCommandKind::Seek: transport.Seek(command.ms); break;
    case ControlCommandKind::Play: transport.Play(); break;
    case ControlCommandKind::Pause: transport.Pause(); break;
    case ControlCommandKind::Loop: transport.SetLoop(command.from, command.to); break;
    case ControlCommandKind::LoopOff: transport.LoopOff(); break;
    case ControlCommandKind::Reload: {
      ReloadReport report;
      if (!mSession.Reload(command.path, report, error)) return ControlErrorAnswer(error);
      JsonValue reloaded = JsonValue::Array();
      for (const std::string& name : report.reloaded) reloaded.Append(name);
      JsonValue errors = JsonValue::Array();
      for (const std::string& line : report.errors) errors.Append(line);
      return Ok()
          .Set("reloaded", std::move(reloaded))
          .Set("timeline", report.timelineRebuilt)
          .Set("errors", std::move(errors))
          .Serialize();
    }
    case ControlCommandKind::Screenshot:
      mSession.RequestScreenshot(command.path, [this, client, path = command.path](bool written, const std::string& why) {
        mSocket.Send(client, written ? Ok().Set("path", path).Serialize() : ControlErrorAnswer(why));
      });
      return "";
    case ControlCommandKind::Quit: mSession.RequestQuit(); break;
    case ControlCommandKind::Tracks:
    case ControlCommandKind::Track:
    case ControlCommandKind::SetKey:
    case ControlCommandKind::DeleteKey: return AnswerTrackCommand(command, mSession.Tracks(), transport.Time());
  }
  return Ok().Set("time", transport.Time()).Serialize();
}
