#include "audio/SpeechSynth.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "audio/FormatConverter.h"
#include "audio/WavFile.h"

namespace {

std::mutex& EngineLock() {
  static std::mutex lock;
  return lock;
}

int gEngineRate = 0;  // espeak-ng's output rate; -1 when it could not start
bool gVoicesHidden = false;

// Runs under EngineLock.
bool EngineReady() {
  if (gEngineRate == 0) {
    const int rate =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 200, nullptr, espeakINITIALIZE_DONT_EXIT);
    gEngineRate = rate > 0 ? rate : -1;
  }
  return gEngineRate > 0;
}

struct Job {
  std::vector<float> Samples;
  std::atomic<bool>* Cancel = nullptr;
  size_t TextLength = 1;
  std::function<void(int)> Progress;
  int LastPercent = -1;
};

int SynthCallback(short* wav, int count, espeak_EVENT* events) {
  Job* job = nullptr;
  for (espeak_EVENT* e = events; e && e->type != espeakEVENT_LIST_TERMINATED; ++e) {
    job = static_cast<Job*>(e->user_data);
    if (job && e->type == espeakEVENT_WORD) {
      const int percent =
          int(std::min<size_t>(99, size_t(std::max(0, e->text_position)) * 100 / job->TextLength));
      if (percent > job->LastPercent) {
        job->LastPercent = percent;
        job->Progress(percent);
      }
    }
  }
  if (!job && events) job = static_cast<Job*>(events->user_data);
  if (!job) return 0;
  for (int i = 0; wav && i < count; ++i) job->Samples.push_back(float(wav[i]) / 32768.f);
  return job->Cancel->load() ? 1 : 0;
}

}  // namespace

void SpeechSynth::HideVoicesForTests(bool hidden) { gVoicesHidden = hidden; }

const std::vector<TSpeechVoice>& SpeechSynth::Voices() {
  static const std::vector<TSpeechVoice> none;
  if (gVoicesHidden) return none;
  static std::vector<TSpeechVoice> voices = [] {
    std::vector<TSpeechVoice> list;
    std::lock_guard l(EngineLock());
    if (!EngineReady()) return list;
    for (const espeak_VOICE** v = espeak_ListVoices(nullptr); v && *v; ++v) {
      if (!(*v)->name || !(*v)->identifier) continue;
      // Variants ("!v/...") change a voice's character, not its language: not listed.
      if (std::strncmp((*v)->identifier, "mb/", 3) == 0) continue;
      list.push_back({(*v)->name, (*v)->name});
    }
    return list;
  }();
  return voices;
}

SpeechSynth::SpeechSynth() = default;

SpeechSynth::~SpeechSynth() { Stop(); }

void SpeechSynth::SetFormat(int sampleRate, int channels) {
  FSampleRate = sampleRate;
  FChannels = channels;
}

void SpeechSynth::SetVoice(int index) {
  if (index < 0 || index >= int(Voices().size())) throw ESpeechError("There is no such voice.");
  FVoice = index;
}

void SpeechSynth::Convert(const std::string& text, const std::string& path, int bits) {
  if (Busy()) throw ESpeechError("A synthesis is running.");
  if (Voices().empty()) throw ESpeechError("No speech engine is available.");
  if (FSampleRate < 1000 || FSampleRate > 384000 || FChannels < 1 || FChannels > 2)
    throw ESpeechError("The speech format is not supported.");
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) bits = 16;
  // The file exists (and is complete, if empty) from the call on.
  auto writer = std::make_shared<WavWriter>(path, FSampleRate, FChannels, bits);
  FCancel = std::make_shared<std::atomic<bool>>(false);
  FPoster.Cancel();
  auto post = FPoster.Maker();
  const std::string voice = Voices()[size_t(FVoice)].Name;
  const int rate = std::clamp(int(std::lround(espeakRATE_NORMAL * std::pow(1.1, FRate))),
                              espeakRATE_MINIMUM, espeakRATE_MAXIMUM);
  const int volume = std::clamp(FVolume, 0, 100);
  const int outRate = FSampleRate, outChannels = FChannels;
  auto cancel = FCancel;
  FWorker = std::thread([=, this] {
    Job job;
    job.Cancel = cancel.get();
    job.TextLength = std::max<size_t>(1, text.size());
    job.Progress = [post, this](int percent) {
      post([this, percent] {
        if (OnProgress) OnProgress(percent);
      });
    };
    bool ok = true;
    int inRate = 0;
    {
      std::lock_guard l(EngineLock());
      ok = EngineReady();
      inRate = gEngineRate;
      if (ok) {
        espeak_SetSynthCallback(SynthCallback);
        ok = espeak_SetVoiceByName(voice.c_str()) == EE_OK;
        espeak_SetParameter(espeakRATE, rate, 0);
        espeak_SetParameter(espeakVOLUME, volume, 0);
        ok = ok && espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                espeakCHARS_UTF8, nullptr, &job) == EE_OK;
        ok = ok && espeak_Synchronize() == EE_OK;
      }
    }
    if (cancel->load()) {
      try {
        writer->Close();
      } catch (...) {
      }
      return;
    }
    try {
      if (ok && !job.Samples.empty()) {
        FormatConverter conv(inRate, 1, outRate, outChannels);
        std::vector<float> out;
        conv.Process(job.Samples.data(), int64_t(job.Samples.size()), out);
        conv.Finish(out);
        writer->Write(out.data(), int64_t(out.size()) / outChannels);
      }
      writer->Close();
    } catch (...) {
      ok = false;
    }
    post([this, ok] { Finished(ok); });
  });
}

void SpeechSynth::Stop() {
  FPoster.Cancel();
  if (FCancel) FCancel->store(true);
  if (FWorker.joinable()) FWorker.join();
}

void SpeechSynth::Finished(bool ok) {
  if (FWorker.joinable()) FWorker.join();
  if (OnProgress && ok) OnProgress(100);
  // The handler may free the owner of this object: nothing runs after it.
  if (OnEnd) OnEnd(ok);
}
