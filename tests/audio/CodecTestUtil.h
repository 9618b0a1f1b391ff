#pragma once
// Fixtures made by outside tools (ffmpeg, mpcenc) and files measured by an independent reader
// (ffprobe), for the codec tests.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace codectest {

inline std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'')
      q += "'\\''";
    else
      q += c;
  }
  return q + "'";
}

// Runs a shell command; returns its standard output, or "<failed>" on a non-zero exit.
inline std::string Shell(const std::string& command) {
  std::string out;
  std::FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
  if (!p) return "<failed>";
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  return pclose(p) == 0 ? out : "<failed>";
}

// A tone of `seconds` at `rate` with `channels` channels (left 440 Hz at -6 dBFS; further
// channels at other frequencies), written by ffmpeg with the given output options.
inline bool MakeTone(const std::filesystem::path& out, int rate, int channels, double seconds,
                     const std::string& outputOptions) {
  std::string cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y";
  const char* freqs[] = {"440", "660", "880", "550", "330", "770", "990", "220"};
  for (int c = 0; c < channels; ++c)
    cmd += " -f lavfi -i " + Quote(std::string("sine=frequency=") + freqs[c % 8] + ":sample_rate=" +
                                   std::to_string(rate) + ":duration=" + std::to_string(seconds));
  if (channels > 1) {
    std::string graph;
    for (int c = 0; c < channels; ++c) graph += "[" + std::to_string(c) + ":a]";
    graph += "amerge=inputs=" + std::to_string(channels);
    cmd += " -filter_complex " + Quote(graph);
  }
  cmd += " " + outputOptions + " " + Quote(out.string());
  return Shell(cmd) != "<failed>" && std::filesystem::exists(out);
}

struct Probe {
  bool Ok = false;
  std::string Codec;
  int SampleRate = 0, Channels = 0;
  double Duration = 0;
  long BitRate = 0;
  std::map<std::string, std::string> Tags;  // lower-case keys
};

inline Probe ProbeFile(const std::filesystem::path& file) {
  Probe p;
  const std::string out = Shell(
      "ffprobe -v error -select_streams a:0 -show_entries "
      "stream=codec_name,sample_rate,channels,bit_rate,duration:format=duration,bit_rate:"
      "format_tags:stream_tags -of default=nw=1 " +
      Quote(file.string()));
  if (out == "<failed>") return p;
  size_t pos = 0;
  while (pos < out.size()) {
    size_t end = out.find('\n', pos);
    if (end == std::string::npos) end = out.size();
    const std::string line = out.substr(pos, end - pos);
    pos = end + 1;
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    const std::string value = line.substr(eq + 1);
    if (key == "codec_name")
      p.Codec = value;
    else if (key == "sample_rate")
      p.SampleRate = std::atoi(value.c_str());
    else if (key == "channels")
      p.Channels = std::atoi(value.c_str());
    else if (key == "duration" && value != "N/A" && p.Duration == 0)
      p.Duration = std::atof(value.c_str());
    else if (key == "bit_rate" && value != "N/A" && p.BitRate == 0)
      p.BitRate = std::atol(value.c_str());
    else if (key.rfind("TAG:", 0) == 0) {
      key = key.substr(4);
      for (char& c : key) c = char(std::tolower((unsigned char)c));
      p.Tags.emplace(key, value);
    }
  }
  p.Ok = p.SampleRate > 0;
  return p;
}

// Level and pitch of one channel of interleaved frames.
inline double Rms(const std::vector<float>& v, int channels, int channel, size_t skip = 0) {
  double sum = 0;
  size_t n = 0;
  for (size_t i = skip * channels + channel; i < v.size(); i += channels, ++n)
    sum += double(v[i]) * v[i];
  return n ? std::sqrt(sum / double(n)) : 0;
}

// Frequency from rising crossings, with hysteresis so that codec noise near zero does not count.
inline double Frequency(const std::vector<float>& v, int channels, int channel, int rate) {
  int crossings = 0;
  size_t first = 0, last = 0;
  bool armed = false;
  const size_t frames = v.size() / channels;
  for (size_t f = frames / 20; f < frames - frames / 20; ++f) {
    const float x = v[f * channels + channel];
    if (x < -0.02f) armed = true;
    if (armed && x > 0.02f) {
      armed = false;
      if (crossings == 0) first = f;
      last = f;
      ++crossings;
    }
  }
  if (crossings < 2) return 0;
  return double(crossings - 1) * rate / double(last - first);
}

inline std::vector<unsigned char> ReadBytes(const std::filesystem::path& file) {
  std::vector<unsigned char> data;
  if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    std::fclose(f);
  }
  return data;
}

inline void WriteBytes(const std::filesystem::path& file, const std::vector<unsigned char>& data) {
  if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
    if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
  }
}

}  // namespace codectest
