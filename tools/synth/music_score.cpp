#include "tools/synth/music_score.h"

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

template <typename Enum, size_t N>
bool ParseName(const std::string& name, const std::pair<const char*, Enum> (&names)[N], Enum& out) {
  for (const auto& [text, value] : names) {
    if (name == text) {
      out = value;
      return true;
    }
  }
  return false;
}

const std::pair<const char*, Wave> WAVES[] = {
    {"sine", Wave::Sine}, {"square", Wave::Square}, {"saw", Wave::Saw}, {"triangle", Wave::Triangle}, {"noise", Wave::Noise}};
const std::pair<const char*, Voice> VOICES[] = {
    {"tone", Voice::Tone}, {"kick", Voice::Kick}, {"snare", Voice::Snare}, {"hat", Voice::Hat}, {"clap", Voice::Clap}};
const std::pair<const char*, FilterMode> FILTERS[] = {
    {"none", FilterMode::None}, {"lowpass", FilterMode::Lowpass}, {"highpass", FilterMode::Highpass}, {"bandpass", FilterMode::Bandpass}};

// A numeric setting: its key, the range it accepts and where it goes.
struct NumberSetting {
  const char* key;
  double low, high;
  float Instrument::*field;
};

const NumberSetting INSTRUMENT_NUMBERS[] = {
    {"gain", 0.0, 16.0, &Instrument::gain},         {"pan", -1.0, 1.0, &Instrument::pan},
    {"attack", 0.0, 60.0, &Instrument::attack},     {"decay", 0.0, 60.0, &Instrument::decay},
    {"sustain", 0.0, 1.0, &Instrument::sustain},    {"release", 0.0, 60.0, &Instrument::release},
    {"detune", 0.0, 1200.0, &Instrument::detune},   {"width", 0.0, 1.0, &Instrument::width},
    {"cutoff", 10.0, 22000.0, &Instrument::cutoff}, {"resonance", 0.0, 0.95, &Instrument::resonance},
    {"envmod", 0.0, 22000.0, &Instrument::envmod},  {"fdecay", 0.001, 60.0, &Instrument::fdecay},
    {"keytrack", 0.0, 1.0, &Instrument::keytrack},  {"vibrato", 0.0, 1200.0, &Instrument::vibrato},
    {"vrate", 0.0, 50.0, &Instrument::vrate},       {"delay", 0.0, 4.0, &Instrument::delaySend},
    {"reverb", 0.0, 4.0, &Instrument::reverbSend},  {"duck", 0.0, 1.0, &Instrument::duck},
};

constexpr int MAX_UNISON_VOICES = 8;

bool ParseInstrumentSetting(const std::string& setting, Instrument& instrument) {
  size_t equals = setting.find('=');
  if (equals == std::string::npos) return false;
  std::string key = setting.substr(0, equals);
  std::string value = setting.substr(equals + 1);
  if (key == "wave") return ParseName(value, WAVES, instrument.wave);
  if (key == "voice") return ParseName(value, VOICES, instrument.voice);
  if (key == "filter") return ParseName(value, FILTERS, instrument.filter);
  double number = 0.0;
  if (!ParseNumber(value, number)) return false;
  if (key == "voices") {
    if (number < 1.0 || number > MAX_UNISON_VOICES || number != std::floor(number)) return false;
    instrument.voices = static_cast<int>(number);
    return true;
  }
  for (const NumberSetting& entry : INSTRUMENT_NUMBERS) {
    if (key != entry.key) continue;
    if (number < entry.low || number > entry.high) return false;
    instrument.*entry.field = static_cast<float>(number);
    return true;
  }
  return false;
}

// "key=value" settings of an effect line, each a number within its range.
template <typename Settings>
struct EffectSetting {
  const char* key;
  double low, high;
  void (*store)(Settings&, double);
};

template <typename Settings, size_t N>
bool ParseEffectSettings(std::istringstream& words, const EffectSetting<Settings> (&table)[N], Settings& settings,
                         std::string& error) {
  for (std::string setting; words >> setting;) {
    size_t equals = setting.find('=');
    double number = 0.0;
    bool stored = false;
    if (equals != std::string::npos && ParseNumber(setting.substr(equals + 1), number)) {
      for (const auto& entry : table) {
        if (setting.compare(0, equals, entry.key) == 0 && equals == std::char_traits<char>::length(entry.key) &&
            number >= entry.low && number <= entry.high) {
          entry.store(settings, number);
          stored = true;
        }
      }
    }
    if (!stored) {
      error = "bad setting \"" + setting + "\"";
      return false;
    }
  }
  return true;
}

const EffectSetting<DelaySettings> DELAY_SETTINGS[] = {
    {"time", 0.01, 16.0, [](DelaySettings& s, double v) { s.timeBeats = v; }},
    {"feedback", 0.0, 0.95, [](DelaySettings& s, double v) { s.feedback = static_cast<float>(v); }},
    {"tone", 100.0, 20000.0, [](DelaySettings& s, double v) { s.tone = static_cast<float>(v); }},
};
const EffectSetting<ReverbSettings> REVERB_SETTINGS[] = {
    {"size", 0.0, 1.0, [](ReverbSettings& s, double v) { s.size = static_cast<float>(v); }},
    {"damp", 0.0, 1.0, [](ReverbSettings& s, double v) { s.damp = static_cast<float>(v); }},
    {"width", 0.0, 1.0, [](ReverbSettings& s, double v) { s.width = static_cast<float>(v); }},
};
const EffectSetting<MasterSettings> MASTER_SETTINGS[] = {
    {"loudness", -40.0, -3.0, [](MasterSettings& s, double v) { s.loudness = v; }},
    {"peak", -20.0, 0.0, [](MasterSettings& s, double v) { s.peak = v; }},
};

int FindInstrument(const Score& score, const std::string& name) {
  for (size_t i = 0; i < score.instruments.size(); ++i) {
    if (score.instruments[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

// The automation a target and parameter name, or null when there is none.
Automation* FindAutomation(Score& score, const std::string& target, const std::string& parameter) {
  if (target == "master") return parameter == "gain" ? &score.masterGain : nullptr;
  int index = FindInstrument(score, target);
  if (index < 0) return nullptr;
  Instrument& instrument = score.instruments[index];
  if (parameter == "gain") return &instrument.gainAutomation;
  if (parameter == "cutoff") return &instrument.cutoffAutomation;
  if (parameter == "pan") return &instrument.panAutomation;
  if (parameter == "delay") return &instrument.delayAutomation;
  if (parameter == "reverb") return &instrument.reverbAutomation;
  return nullptr;
}

bool ParseAutomation(std::istringstream& words, Score& score, std::string& error) {
  std::string target, parameter;
  if (!(words >> target >> parameter)) {
    error = "automate needs TARGET PARAMETER BEAT:VALUE...";
    return false;
  }
  Automation* automation = FindAutomation(score, target, parameter);
  if (!automation) {
    error = "nothing to automate as \"" + target + " " + parameter + "\"";
    return false;
  }
  size_t before = automation->points.size();
  for (std::string point; words >> point;) {
    size_t colon = point.find(':');
    AutomationPoint parsed;
    if (colon == std::string::npos || !ParseNumber(point.substr(0, colon), parsed.beat) || parsed.beat < 0.0 ||
        !ParseNumber(point.substr(colon + 1), parsed.value)) {
      error = "bad automation point \"" + point + "\": expected BEAT:VALUE, like \"4:0.5\"";
      return false;
    }
    if (!automation->points.empty() && parsed.beat < automation->points.back().beat) {
      error = "automation points must not go back in time";
      return false;
    }
    automation->points.push_back(parsed);
  }
  if (automation->points.size() == before) {
    error = "automate needs at least one BEAT:VALUE point";
    return false;
  }
  return true;
}

// The instruments a note may name at this point of the score.
std::string InstrumentsSoFar(const Score& score) {
  if (score.instruments.empty()) return "no instrument is declared before this line";
  std::string names;
  for (const Instrument& instrument : score.instruments) names += (names.empty() ? "\"" : ", \"") + instrument.name + "\"";
  return "expected one declared before this line: " + names;
}

// What a pitch is, shown with the note the author seems to have meant.
std::string ExpectedPitch(const std::string& pitch) {
  const bool named = !pitch.empty() && pitch[0] >= 'A' && pitch[0] <= 'G';
  const std::string note = named ? pitch.substr(0, pitch.size() > 1 && (pitch[1] == '#' || pitch[1] == 'b') ? 2 : 1) : "C";
  return "expected a note name and its octave, like \"" + note + "3\", or a MIDI note number from 0 to 127";
}

bool ParseNoteLine(std::istringstream& words, Score& score, std::string& error) {
  std::string beat, length, instrument, pitch, velocity;
  Note note;
  if (!(words >> beat >> length >> instrument >> pitch) || !ParseNumber(beat, note.beat) || note.beat < 0.0 ||
      !ParseNumber(length, note.lengthBeats) || note.lengthBeats <= 0.0) {
    error = "note needs BEAT LENGTH INSTRUMENT PITCH [VELOCITY]";
    return false;
  }
  note.instrument = FindInstrument(score, instrument);
  if (note.instrument < 0) {
    error = "unknown instrument \"" + instrument + "\": " + InstrumentsSoFar(score);
    return false;
  }
  if (!PitchFrequency(pitch, note.frequency)) {
    error = "bad pitch \"" + pitch + "\": " + ExpectedPitch(pitch);
    return false;
  }
  if (words >> velocity) {
    double value = 0.0;
    if (!ParseNumber(velocity, value) || value < 0.0 || value > 4.0) {
      error = "bad velocity \"" + velocity + "\": expected a number from 0 to 4";
      return false;
    }
    note.velocity = static_cast<float>(value);
  }
  score.notes.push_back(note);
  return true;
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
    if (!(words >> instrument.name) || FindInstrument(score, instrument.name) >= 0 || instrument.name == "master") {
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
  if (keyword == "note") return ParseNoteLine(words, score, error);
  if (keyword == "automate") return ParseAutomation(words, score, error);
  if (keyword == "delay") return ParseEffectSettings(words, DELAY_SETTINGS, score.delay, error);
  if (keyword == "reverb") return ParseEffectSettings(words, REVERB_SETTINGS, score.reverb, error);
  if (keyword == "master") {
    score.master.enabled = true;
    return ParseEffectSettings(words, MASTER_SETTINGS, score.master, error);
  }
  error = "unknown keyword \"" + keyword + "\": a line starts with tempo, length, instrument, note, automate, delay, reverb or master";
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

double Automation::ValueAt(double beat) const {
  if (points.empty()) return 0.0;
  if (beat <= points.front().beat) return points.front().value;
  for (size_t i = 1; i < points.size(); ++i) {
    const AutomationPoint& from = points[i - 1];
    const AutomationPoint& to = points[i];
    if (beat > to.beat) continue;
    double span = to.beat - from.beat;
    return span > 0.0 ? from.value + (to.value - from.value) * (beat - from.beat) / span : to.value;
  }
  return points.back().value;
}

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
