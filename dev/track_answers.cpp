#include "dev/track_answers.h"

#include "dev/track_editor.h"
#include "files/json_value.h"

namespace {

JsonValue Ok() { return JsonValue::Object().Set("ok", true); }

JsonValue KeyJson(const SyncKey& key) {
  return JsonValue::Object()
      .Set("row", key.row)
      .Set("value", static_cast<double>(key.value))
      .Set("interpolation", static_cast<int>(key.interpolation));
}

std::string List(const SyncDocument& document, uint32_t t) {
  const double row = SyncRowAt(document, t);
  JsonValue tracks = JsonValue::Array();
  for (const SyncTrack& track : document.tracks) {
    tracks.Append(JsonValue::Object()
                      .Set("name", track.name)
                      .Set("keys", static_cast<uint32_t>(track.keys.size()))
                      .Set("value", static_cast<double>(SyncTrackValue(track, row))));
  }
  return Ok()
      .Set("bpm", document.bpm)
      .Set("rowsPerBeat", document.rowsPerBeat)
      .Set("row", row)
      .Set("tracks", std::move(tracks))
      .Serialize();
}

std::string Keys(const SyncDocument& document, const std::string& name) {
  const SyncTrack* track = FindSyncTrack(document, name);
  if (!track) return ControlErrorAnswer("no track \"" + name + "\"");
  JsonValue keys = JsonValue::Array();
  for (const SyncKey& key : track->keys) keys.Append(KeyJson(key));
  return Ok().Set("name", name).Set("keys", std::move(keys)).Serialize();
}

std::string SetKey(const ControlCommand& command, TrackEditor& editor) {
  SyncKey key{command.row, command.value, SYNC_STEP};
  const SyncTrack* track = FindSyncTrack(editor.Document(), command.track);
  const SyncKey* old = track ? FindSyncKey(*track, command.row) : nullptr;
  // A key set without its interpolation keeps the one it replaces.
  if (command.interpolation >= 0) {
    key.interpolation = static_cast<uint8_t>(command.interpolation);
  } else if (old) {
    key.interpolation = old->interpolation;
  }
  editor.SetKey(command.track, key);
  return Ok().Set("track", command.track).Set("key", KeyJson(key)).Serialize();
}

}  // namespace

std::string AnswerTrackCommand(const ControlCommand& command, TrackEditor& editor, uint32_t t) {
  switch (command.kind) {
    case ControlCommandKind::Tracks: return List(editor.Document(), t);
    case ControlCommandKind::Track: return Keys(editor.Document(), command.track);
    case ControlCommandKind::SetKey: return SetKey(command, editor);
    case ControlCommandKind::DeleteKey:
      if (!editor.DeleteKey(command.track, command.row)) {
        return ControlErrorAnswer("no key on row " + std::to_string(command.row) + " of track \"" + command.track + "\"");
      }
      return Ok().Set("track", command.track).Set("row", command.row).Serialize();
    default: return ControlErrorAnswer("not a track request");
  }
}
