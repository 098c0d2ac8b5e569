#include "tools/music_score.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value);
}

bool ParseWave(const std::string& name, Wave& wave) {
  static const std::pair<const char*, Wave> WAVES[] = {
      {"sine", Wave::Sine}, {"square", Wave::Square}, {"saw", Wave::Saw}, {"triangle", Wave::Triangle}, {"noise", Wave::Noise}};
  for (const auto& [waveName, value] : WAVES) {
    if (name == waveName) {
      wave = value;
      return true;
    }
  }
  return false;
}

bool ParseInstrumentSetting(const std::string& setting, Instrument& instrument) {
  size_t equals = setting.find('=');
  if (equals == std::string::npos) return false;
  std::string key = setting.substr(0, equals);
  std::string value = setting.substr(equals + 1);
  if (key == "wave") return ParseWave(value, instrument.wave);
  double number = 0.0;
  if (!ParseNumber(value, number)) return false;
  if (key == "gain" && number >= 0.0) instrument.gain = static_cast<float>(number);
  else if (key == "pan" && number >= -1.0 && number <= 1.0) instrument.pan = static_cast<float>(number);
  else if (key == "attack" && number >= 0.0) instrument.attack = static_cast<float>(number);
  else if (key == "release" && number >= 0.0) instrument.release = static_cast<float>(number);
  else return false;
  return true;
}

int FindInstrument(const Score& score, const std::string& name) {
  for (size_t i = 0; i < score.instruments.size(); ++i) {
    if (score.instruments[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

// Parses one non-empty line; error says what is wrong with it.
bool ParseLine(std::istringstream& words, const std::string& keyword, Score& score, std::string& error) {
  if (keyword == "tempo" || keyword == "length") {
    std::string text;
    double value = 0.0;
    if (!(words >> text) || !ParseNumber(text, value) || value <= 0.0) {
      error = keyword + " needs a positive number";
      return false;
    }
    (keyword == "tempo" ? score.tempo : score.lengthBeats) = value;
    return true;
  }
  if (keyword == "instrument") {
    Instrument instrument;
    if (!(words >> instrument.name) || FindInstrument(score, instrument.name) >= 0) {
      error = "instrument needs a new name";
      return false;
    }
    for (std::string setting; words >> setting;) {
      if (!ParseInstrumentSetting(setting, instrument)) {
        error = "bad instrument setting \"" + setting + "\"";
        return false;
      }
    }
    score.instruments.push_back(instrument);
    return true;
  }
  if (keyword == "note") {
    std::string beat, length, instrument, pitch;
    Note note;
    if (!(words >> beat >> length >> instrument >> pitch) || !ParseNumber(beat, note.beat) || note.beat < 0.0 ||
        !ParseNumber(length, note.lengthBeats) || note.lengthBeats <= 0.0) {
      error = "note needs BEAT LENGTH INSTRUMENT PITCH";
      return false;
    }
    note.instrument = FindInstrument(score, instrument);
    if (note.instrument < 0) {
      error = "unknown instrument \"" + instrument + "\"";
      return false;
    }
    if (!PitchFrequency(pitch, note.frequency)) {
      error = "bad pitch \"" + pitch + "\"";
      return false;
    }
    score.notes.push_back(note);
    return true;
  }
  error = "unknown keyword \"" + keyword + "\"";
  return false;
}

// A comment starts with a '#' that begins a word, so that sharps like C#4 stay notes.
std::string WithoutComment(const std::string& line) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  }
  return line;
}

}  // namespace

bool PitchFrequency(const std::string& pitch, double& frequency) {
  int midi = 0;
  double number = 0.0;
  if (ParseNumber(pitch, number)) {
    if (number < 0.0 || number > 127.0 || number != std::floor(number)) return false;
    midi = static_cast<int>(number);
  } else {
    static const int SEMITONES[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (pitch.size() < 2 || pitch[0] < 'A' || pitch[0] > 'G') return false;
    int semitone = SEMITONES[pitch[0] - 'A'];
    size_t at = 1;
    if (pitch[at] == '#') ++semitone, ++at;
    else if (pitch[at] == 'b') --semitone, ++at;
    double octave = 0.0;
    if (!ParseNumber(pitch.substr(at), octave) || octave < -1.0 || octave > 9.0 || octave != std::floor(octave)) return false;
    midi = (static_cast<int>(octave) + 1) * 12 + semitone;
  }
  frequency = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
  return true;
}

bool ParseScore(const std::string& text, Score& score, std::string& error, int* errorLine) {
  score = Score{};
  std::istringstream lines(text);
  int lineNumber = 0;
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    line = WithoutComment(line);
    std::istringstream words(line);
    std::string keyword;
    if (!(words >> keyword)) continue;
    if (!ParseLine(words, keyword, score, error)) {
      error = "line " + std::to_string(lineNumber) + ": " + error;
      if (errorLine) *errorLine = lineNumber;
      return false;
    }
  }
  return true;
}
