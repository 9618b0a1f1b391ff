#include "operations/BatchPipeline.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"
#include "appbase/Utils.h"
#include "audio/AudioFileError.h"
#include "audio/DspKernels.h"
#include "audio/DspLevel.h"
#include "audio/FormatConverter.h"
#include "operations/BatchCommands.h"
#include "operations/OutputFormatApply.h"
#include "platform/rtl/SysUtils.h"

namespace {

const float kBandFrequencies[12] = {31.25f, 62.5f, 125, 250, 500, 1000,
                                    2000,   4000, 6000, 9000, 12000, 16000};

int ConvertRate(int RateIndex) {
  return RateIndex >= 0 && RateIndex < 10 ? ConvertSampleRates[RateIndex] : 44100;
}

int ConvertChannels(int ChannelMode) { return ChannelMode == 1 ? 1 : 2; }

// Silence of Ms milliseconds at the block's format, rounded as the editor rounds.
SampleBuffer Silence(const SampleBuffer& Like, int Ms) {
  const int64_t frames = (int64_t(Ms) * Like.SampleRate() + 500) / 1000;
  return SampleBuffer(Like.Channels(), Like.SampleRate(), std::max<int64_t>(frames, 0));
}

std::string MessageOf(const std::exception& E) { return E.what(); }

// A free name for the work file beside the output: hidden, with the output's extension (the
// tag writer goes by it). Made with the mode a new file gets.
std::string MakeWorkFile(const std::string& Output) {
  std::string pattern = ExtractFilePath(Output) + "." + ExtractFileName(Output) + ".batch-XXXXXX" +
                        ExtractFileExt(Output);
  std::vector<char> buf(pattern.begin(), pattern.end());
  buf.push_back('\0');
  const int fd = ::mkstemps(buf.data(), int(ExtractFileExt(Output).size()));
  if (fd < 0) throw EAudioFileError(std::strerror(errno));
  static const mode_t mask = [] {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
  }();
  ::fchmod(fd, 0666 & ~mask);
  ::close(fd);
  return buf.data();
}

}  // namespace

int WmaProfileForBitRate(int64_t BitRate) {
  if (BitRate <= 10000) return 36;
  if (BitRate <= 34000) return 23;
  if (BitRate <= 50000) return 16;
  if (BitRate <= 66000) return 13;
  if (BitRate <= 98000) return 11;
  if (BitRate <= 130000) return 10;
  return 8;
}

void BatchChainOutputFormat(const TBatchChain& Chain, int& SampleRate, int& Channels) {
  for (const TBatchStep& s : Chain)
    if (s.Command == bcConvertSampleType) {
      SampleRate = ConvertRate(s.Values.at(0));
      Channels = ConvertChannels(s.Values.at(1));
    }
}

TBatchChainRunner::TBatchChainRunner(const TBatchChain& Chain, size_t Steps, int SampleRate,
                                     int, const std::vector<float>& NormalizeGains)
    : FChain(Chain),
      FSteps(std::min(Steps, Chain.size())),
      FGains(NormalizeGains),
      FTransform(std::make_unique<TAudioTransform2>(nullptr)),
      FConverters(Chain.size()) {
  FGains.resize(Chain.size(), 0.0f);
  FTransform->SetSampleRate(SampleRate);
  // Silence and speed changes make blocks of every length: the end is told, not guessed.
  FTransform->SetMarksEnd(true);
}

TBatchChainRunner::~TBatchChainRunner() = default;

SampleBuffer TBatchChainRunner::Process(SampleBuffer Block, bool Last) {
  TAudioTransform2& t = *FTransform;
  t.SetBatchFlag(true);
  if (Last) t.MarkLastBlock();
  struct EndBlock {
    TAudioTransform2& T;
    ~EndBlock() { T.SetBatchFlag(false); }
  } end{t};
  for (size_t i = 0; i < FSteps; ++i) {
    const std::vector<int>& v = FChain[i].Values;
    auto f = [&v](size_t k) { return float(v.at(k)); };
    switch (FChain[i].Command) {
      case bcInsertSilenceAtTheStart:
        if (FFirst) {
          SampleBuffer b = Silence(Block, v.at(0));
          b.Append(Block);
          Block = std::move(b);
        }
        break;
      case bcInsertSilenceAtTheEnd:
        if (Last) Block.Append(Silence(Block, v.at(0)));
        break;
      case bcAmplify: t.Amplify(Block, f(0)); break;
      case bcNormalize:
        DspCheckNormalize(f(0), -1);
        if (FGains[i] > 0) DspMultiply(Block.Data(), FGains[i], size_t(Block.ValueCount()));
        break;
      case bcHighPass: t.HighPass(Block, f(0), 100.0f); break;
      case bcEqualizer: {
        std::vector<float> gains, freqs(kBandFrequencies, kBandFrequencies + 12);
        for (size_t k = 0; k < 12; ++k) gains.push_back(float(v.at(k) / 100.0));
        t.Equalizer(Block, SampleBuffer(gains, 1, 0), SampleBuffer(freqs, 1, 0));
        break;
      }
      case bcEcho: t.Echo(Block, f(0), f(1), f(2)); break;
      case bcReverb: t.Reverb(Block, f(0), f(1), f(2), f(3), f(4), v.at(5)); break;
      case bcNoiseReduction: t.NoiseReduction(Block, f(0), f(1), f(2)); break;
      case bcSpeedChange: t.SpeedChange(Block, f(0)); break;
      case bcPitchChange: t.PitchChange(Block, f(0)); break;
      case bcCompressor: t.Compressor(Block, f(0), f(1), 100.0f); break;
      case bcConvertSampleType: {
        const int rate = ConvertRate(v.at(0)), channels = ConvertChannels(v.at(1));
        if (!FConverters[i])
          FConverters[i] = std::make_unique<FormatConverter>(Block.SampleRate(), Block.Channels(),
                                                             rate, channels);
        std::vector<float> out;
        FConverters[i]->Process(Block.Data(), Block.Frames(), out);
        if (Last) FConverters[i]->Finish(out);
        Block = SampleBuffer(std::move(out), channels, rate);
        break;
      }
      case bcMixStereoChannels: t.MixStereo(Block, f(0), f(1), f(2), f(3)); break;
      case bcPhaser: t.Phaser(Block, f(0), f(1), f(2)); break;
      case bcFlanger: t.Flanger(Block, f(0), f(1), f(2), f(3), f(4), f(5)); break;
      case bcChorus: t.Chorus(Block, f(0), f(1), f(2), f(3), f(4), f(5)); break;
    }
  }
  FFirst = false;
  return Block;
}

TBatchFileConverter::TBatchFileConverter(TBatchChain Chain, const TGlobalVars& Settings)
    : FChain(std::move(Chain)),
      FSettings(Settings),
      FLameEnc(std::make_unique<TAudioFile2LameEnc>(nullptr)) {}

TBatchFileConverter::~TBatchFileConverter() = default;

std::string TBatchFileConverter::ChooseFormat(const std::string& Source) {
  TAudioFile2& r = *FReader;
  TAudioFile2& w = *FWriter;
  TAudioFile2FormatTarget target(w);
  std::string ext = ".mp3";
  if (FSettings.BatchFileFormatUseTheSame) {
    const std::string sourceExt = ExtractFileExt(Source);
    const int rate = r.FileSampleRate(), kbps = r.FileBitRate() / 1000, channels = r.FileChannels();
    if (sourceExt == ".wav") {
      w.CopyWavFormat(Source);
      ext = ".wav";
    } else if (sourceExt == ".mp3") {
      if (w.CanWriteMp3(rate, kbps, channels))
        w.SetMp3CbrFormat(rate, kbps, channels);
      else
        w.SetMp3CbrFormat(44100, 128, 2);
    } else if (sourceExt == ".ogg") {
      if (w.CanWriteOgg(rate, channels, kbps, 0, 0))
        w.SetOggFormat(rate, channels, kbps, 0, 0, -1);
      else
        w.SetOggFormat(44100, 2, 128, 0, 0, -1);
      ext = ".ogg";
    } else if (sourceExt == ".wma") {
      w.SetWmaFormat(WmaProfileForBitRate(r.FileBitRate()));
      ext = ".wma";
    } else {
      ApplyOutputFormat(FSettings, afMp3, *FLameEnc, target);
    }
  } else {
    static const int formats[4] = {afWav, afMp3, afOgg, afWma};
    static const char* const exts[4] = {".wav", ".mp3", ".ogg", ".wma"};
    const int index = FSettings.BatchFileFormatIndex;
    // A stored index off the list gives MP3 with the stored MP3 choices, so that a ".mp3" file
    // holds MP3.
    const int k = index >= 0 && index < 4 ? index : 1;
    if (!ApplyOutputFormat(FSettings, formats[k], *FLameEnc, target))
      throw EAudioFileError("The stored output format choices are not valid.");
    ext = exts[k];
  }
  // A Convert command's rate and channels go into the file when its format can hold them;
  // otherwise the writer converts to the format's own.
  int rate = r.PcmSampleRate(), channels = r.PcmChannels();
  BatchChainOutputFormat(FChain, rate, channels);
  const bool converts = std::any_of(FChain.begin(), FChain.end(), [](const TBatchStep& s) {
    return s.Command == bcConvertSampleType;
  });
  if (converts) {
    const TOutputFormat f = w.OutputFormat();
    switch (w.OutputKind()) {
      case afWav: w.SetWavFormat(rate, channels, f.WavBits); break;
      case afMp3:
        if (f.Mp3Mode == TMp3Mode::Cbr && w.CanWriteMp3(rate, f.Mp3Kbps, channels))
          w.SetMp3CbrFormat(rate, f.Mp3Kbps, channels);
        break;
      case afOgg:
        if (w.CanWriteOgg(rate, channels, f.OggKbps, 0, 0))
          w.SetOggFormat(rate, channels, f.OggKbps, 0, 0, f.OggQuality);
        break;
    }
  }
  w.SetPcmFormat(rate, channels);
  return ext;
}

std::vector<float> TBatchFileConverter::NormalizeGains(const std::string& Source,
                                                       const std::atomic<bool>& Stop) {
  std::vector<float> gains(FChain.size(), 0.0f);
  for (size_t k = 0; k < FChain.size(); ++k) {
    if (FChain[k].Command != bcNormalize) continue;
    const double percent = FChain[k].Values.at(0);
    DspCheckNormalize(percent, -1);
    TAudioFile2 reader(nullptr);
    reader.OpenRead(Source, 0, 1);
    TBatchChainRunner runner(FChain, k, reader.PcmSampleRate(), reader.PcmChannels(), gains);
    float peak = 0;
    for (bool last = false; !last && !Stop;) {
      SampleBuffer block = reader.ReadPcm(reader.PcmChannels() * reader.PcmSampleRate());
      last = block.Empty();
      SampleBuffer out = runner.Process(std::move(block), last);
      peak = std::max(peak, DspPeak(out.Data(), size_t(out.ValueCount())));
    }
    if (peak > 0 && std::isfinite(peak)) gains[k] = float((percent / 100.0) / double(peak));
  }
  return gains;
}

TBatchOutcome TBatchFileConverter::Convert(const std::string& Source,
                                           const std::string& OutputFolder,
                                           const std::atomic<bool>& Stop,
                                           const std::function<void(int64_t, int64_t)>& Progress) {
  TBatchOutcome outcome;
  if (!FileExists(Source)) {
    outcome.Messages.push_back(Format("File do not exist: %s", {Source}));
    return outcome;
  }
  FReader = std::make_unique<TAudioFile2>(nullptr);
  FWriter = std::make_unique<TAudioFile2>(nullptr);
  try {
    FReader->OpenRead(Source, 0, 1);
  } catch (const std::exception&) {
    outcome.Messages.push_back(
        Format("An error occurred while transforming file:\r\n\r\nThe file \"%s\" is damaged or "
               "the format is not supported.",
               {Source}));
    return outcome;
  }
  std::string work;
  try {
    const std::string ext = ChooseFormat(Source);
    outcome.Output = MakeUniqueFileName(ChangeFileExt(ExtractFileName(Source), ext), OutputFolder);
    try {
      work = MakeWorkFile(outcome.Output);
      FWriter->CreateFile(work, 0);
    } catch (const std::exception&) {
      if (!work.empty()) DeleteFile(work);
      outcome.Messages.push_back(
          Format("An error occurred while creating file \"%s\"", {outcome.Output}));
      return outcome;
    }
    const std::vector<float> gains = NormalizeGains(Source, Stop);
    TAudioFile2& r = *FReader;
    TBatchChainRunner runner(FChain, FChain.size(), r.PcmSampleRate(), r.PcmChannels(), gains);
    int64_t position = 0;
    for (;;) {
      if (Stop) {
        FWriter->AbandonFile();
        FReader->CloseFile();
        DeleteFile(work);
        return outcome;
      }
      SampleBuffer block = r.ReadPcm(r.PcmChannels() * r.PcmSampleRate());
      const bool last = block.Empty();
      const int64_t frames = block.Frames();
      SampleBuffer out = runner.Process(std::move(block), last);
      FWriter->WritePcm(out);
      if (last) break;
      position = std::min(position + frames, r.LengthInSamples());
      if (Progress) Progress(position, r.LengthInSamples());
    }
    FWriter->CloseFile();
    FReader->CloseFile();
    TAudioInformation2 info(nullptr);
    info.OpenFile(Source);
    info.WriteInfoTo(work);
    outcome.Ok = true;
    outcome.WorkFile = work;
  } catch (const std::exception& e) {
    FWriter->AbandonFile();
    FReader->CloseFile();
    if (!work.empty()) DeleteFile(work);
    outcome.Messages.push_back(MessageOf(e));
  }
  return outcome;
}

std::string PublishBatchOutput(const std::string& WorkFile, const std::string& Wanted) {
  std::string target = Wanted;
  for (int tries = 0; tries < 100; ++tries) {
    if (RenameFile(WorkFile, target)) return target;
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0)
      throw EAudioFileError(Format("Cannot name the file \"%s\": %s", {target, std::strerror(errno)}));
    target = MakeUniqueFileName(ExtractFileName(Wanted), ExtractFilePath(Wanted));
  }
  throw EAudioFileError(Format("Cannot name the file \"%s\".", {Wanted}));
}
