#include "tools/check/music_check.h"


#include "sound/music_probe.h"
#include "tools/check/content_folder_files.h"
#include "tools/synth/music_score.h"
#include "tools/synth/music_synth.h"

MusicFacts CheckMusicFile(const std::filesystem::path& path, ProductionFindings& findings) {
  MusicFacts facts;
  const std::string file = path.string();
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) {
    findings.Error(file, 0, "the music is missing");
    return facts;
  }
  const MusicProbe probe = ProbeMusic(file);
  if (!probe.decoder) {
    findings.Error(file, 0, "the player reads no music from it: it is neither RIFF WAVE nor Ogg Vorbis");
  } else if (!probe.opens) {
    findings.Error(file, 0, std::string("the ") + probe.decoderName + " decoder cannot open it (cut short or damaged)");
  } else if (!probe.playable) {
    findings.Error(file, 0, std::to_string(probe.format.bitsPerSample) + "-bit sound with " +
                                std::to_string(probe.format.channels) + " channel(s) at " +
                                std::to_string(probe.format.samplesPerSecond) +
                                " Hz does not play; use 8- or 16-bit PCM, mono or stereo");
  } else {
    facts.source = file;
    facts.lengthMs = probe.lengthMs;
  }
  return facts;
}

MusicFacts CheckContentMusic(const ContentFolderFiles& folder, ProductionFindings& findings) {
  const std::vector<std::filesystem::path> scores = folder.Scores();
  const std::filesystem::path prepared = folder.PreparedMusic();
  const std::string musicFolder = (std::filesystem::path(folder.Name()) / files::CONTENT_MUSIC_FOLDER).string();
  if (scores.empty() && prepared.empty()) {
    findings.Error(musicFolder, 0, "no music: put one score (NAME.score) or a ready \"music.ogg\" here");
    return MusicFacts{};
  }
  if (scores.size() + (prepared.empty() ? 0 : 1) > 1) {
    findings.Error(musicFolder, 0, "more than one music: keep one score (NAME.score) or one \"music.ogg\"");
    return MusicFacts{};
  }
  if (!prepared.empty()) return CheckMusicFile(prepared, findings);
  MusicFacts facts;
  std::string text;
  Score score;
  std::string error;
  int line = 0;
  const std::string file = scores[0].string();
  if (!ReadDiskFile(scores[0], text)) {
    findings.Error(file, 0, "cannot be read");
  } else if (!ParseScore(text, score, error, &line)) {
    findings.Error(file, line, error.substr(error.find(": ") + 2));
  } else if (!ScoreLengthAcceptable(score, error)) {
    findings.Error(file, 0, error);
  } else if (ScoreFrames(score) == 0) {
    findings.Error(file, 0, "the score has no length and no notes: the music would be silent and the demo over at once");
  } else {
    facts.source = file;
    facts.lengthMs = static_cast<uint32_t>(uint64_t(ScoreFrames(score)) * 1000 / SYNTH_SAMPLE_RATE);
  }
  return facts;
}
