// The sound libraries loaded on first use. Reading and writing compressed files and speech
// pull in well over a hundred shared libraries; loading them all when the program starts costs
// more than the rest of its start-up together. So the program is not linked against them: each
// function the audio code calls is defined here, and the first call opens the library and looks
// the real function up.
//
// A new call into one of these libraries needs its line below (the link fails without one).
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/version_major.h>
#include <libavformat/avformat.h>
#include <libavformat/version_major.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/macros.h>
#include <libavutil/mathematics.h>
#include <libavutil/opt.h>
#include <libavutil/samplefmt.h>
#include <libavutil/version.h>
#include <libswresample/swresample.h>
#include <libswresample/version_major.h>
}
#include <espeak-ng/speak_lib.h>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace {

enum TLibrary { kAvformat, kAvcodec, kAvutil, kSwresample, kEspeak };

const char* const kLibraryFiles[] = {
    "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR),
    "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR),
    "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR),
    "libswresample.so." AV_STRINGIFY(LIBSWRESAMPLE_VERSION_MAJOR),
    "libespeak-ng.so.1",
};

[[noreturn]] void Missing(const char* What) {
  // As when a library is missing at start: nothing sensible can go on.
  std::fprintf(stderr, "sonalix: %s\n", What);
  std::abort();
}

void* Handle(TLibrary Library) {
  // Each library is opened once, whichever thread asks first (decoding runs on workers too).
  static std::once_flag once[5];
  static void* handles[5] = {};
  static std::string errors[5];
  std::call_once(once[Library], [Library] {
    handles[Library] = dlopen(kLibraryFiles[Library], RTLD_NOW | RTLD_LOCAL);
    if (!handles[Library]) {
      const char* error = dlerror();
      errors[Library] = error ? error : kLibraryFiles[Library];
    }
  });
  if (!handles[Library]) Missing(errors[Library].c_str());
  return handles[Library];
}

void* Resolve(TLibrary Library, const char* Name) {
  void* f = dlsym(Handle(Library), Name);
  if (!f) Missing(Name);
  return f;
}

}  // namespace

#define SONALIX_FORWARD(LIBRARY, RESULT, NAME, PARAMETERS, ARGUMENTS)                     \
  RESULT NAME PARAMETERS {                                                                  \
    static const auto real = reinterpret_cast<decltype(&NAME)>(Resolve(LIBRARY, #NAME)); \
    return real ARGUMENTS;                                                                  \
  }

extern "C" {

// libavformat
SONALIX_FORWARD(kAvformat, int, av_find_best_stream, (AVFormatContext *ic, enum AVMediaType type, int wanted_stream_nb, int related_stream, const AVCodec **decoder_ret, int flags), (ic, type, wanted_stream_nb, related_stream, decoder_ret, flags))
SONALIX_FORWARD(kAvformat, int, av_interleaved_write_frame, (AVFormatContext *s, AVPacket *pkt), (s, pkt))
SONALIX_FORWARD(kAvformat, int, av_read_frame, (AVFormatContext *s, AVPacket *pkt), (s, pkt))
SONALIX_FORWARD(kAvformat, int, av_write_trailer, (AVFormatContext *s), (s))
SONALIX_FORWARD(kAvformat, int, avformat_alloc_output_context2, (AVFormatContext **ctx, const AVOutputFormat *oformat, const char *format_name, const char *filename), (ctx, oformat, format_name, filename))
SONALIX_FORWARD(kAvformat, void, avformat_close_input, (AVFormatContext **s), (s))
SONALIX_FORWARD(kAvformat, int, avformat_find_stream_info, (AVFormatContext *ic, AVDictionary **options), (ic, options))
SONALIX_FORWARD(kAvformat, void, avformat_free_context, (AVFormatContext *s), (s))
SONALIX_FORWARD(kAvformat, AVStream *, avformat_new_stream, (AVFormatContext *s, const AVCodec *c), (s, c))
SONALIX_FORWARD(kAvformat, int, avformat_open_input, (AVFormatContext **ps, const char *url, const AVInputFormat *fmt, AVDictionary **options), (ps, url, fmt, options))
SONALIX_FORWARD(kAvformat, int, avformat_write_header, (AVFormatContext *s, AVDictionary **options), (s, options))
SONALIX_FORWARD(kAvformat, int, avio_closep, (AVIOContext **s), (s))
SONALIX_FORWARD(kAvformat, void, avio_flush, (AVIOContext *s), (s))
SONALIX_FORWARD(kAvformat, int, avio_open, (AVIOContext **s, const char *url, int flags), (s, url, flags))

// libavcodec
SONALIX_FORWARD(kAvcodec, int, av_new_packet, (AVPacket *pkt, int size), (pkt, size))
SONALIX_FORWARD(kAvcodec, AVPacket *, av_packet_alloc, (void), ())
SONALIX_FORWARD(kAvcodec, void, av_packet_free, (AVPacket **pkt), (pkt))
SONALIX_FORWARD(kAvcodec, void, av_packet_rescale_ts, (AVPacket *pkt, AVRational tb_src, AVRational tb_dst), (pkt, tb_src, tb_dst))
SONALIX_FORWARD(kAvcodec, void, av_packet_unref, (AVPacket *pkt), (pkt))
SONALIX_FORWARD(kAvcodec, AVCodecContext *, avcodec_alloc_context3, (const AVCodec *codec), (codec))
SONALIX_FORWARD(kAvcodec, const AVCodec *, avcodec_find_decoder, (enum AVCodecID id), (id))
SONALIX_FORWARD(kAvcodec, const AVCodec *, avcodec_find_encoder, (enum AVCodecID id), (id))
SONALIX_FORWARD(kAvcodec, void, avcodec_free_context, (AVCodecContext **avctx), (avctx))
SONALIX_FORWARD(kAvcodec, int, avcodec_open2, (AVCodecContext *avctx, const AVCodec *codec, AVDictionary **options), (avctx, codec, options))
SONALIX_FORWARD(kAvcodec, int, avcodec_parameters_copy, (AVCodecParameters *dst, const AVCodecParameters *src), (dst, src))
SONALIX_FORWARD(kAvcodec, int, avcodec_parameters_from_context, (AVCodecParameters *par, const AVCodecContext *codec), (par, codec))
SONALIX_FORWARD(kAvcodec, int, avcodec_parameters_to_context, (AVCodecContext *codec, const AVCodecParameters *par), (codec, par))
SONALIX_FORWARD(kAvcodec, int, avcodec_receive_frame, (AVCodecContext *avctx, AVFrame *frame), (avctx, frame))
SONALIX_FORWARD(kAvcodec, int, avcodec_receive_packet, (AVCodecContext *avctx, AVPacket *avpkt), (avctx, avpkt))
SONALIX_FORWARD(kAvcodec, int, avcodec_send_frame, (AVCodecContext *avctx, const AVFrame *frame), (avctx, frame))
SONALIX_FORWARD(kAvcodec, int, avcodec_send_packet, (AVCodecContext *avctx, const AVPacket *avpkt), (avctx, avpkt))

// libavutil
SONALIX_FORWARD(kAvutil, int, av_channel_layout_copy, (AVChannelLayout *dst, const AVChannelLayout *src), (dst, src))
SONALIX_FORWARD(kAvutil, void, av_channel_layout_default, (AVChannelLayout *ch_layout, int nb_channels), (ch_layout, nb_channels))
SONALIX_FORWARD(kAvutil, void, av_channel_layout_uninit, (AVChannelLayout *channel_layout), (channel_layout))
SONALIX_FORWARD(kAvutil, int, av_dict_copy, (AVDictionary **dst, const AVDictionary *src, int flags), (dst, src, flags))
SONALIX_FORWARD(kAvutil, void, av_dict_free, (AVDictionary **m), (m))
SONALIX_FORWARD(kAvutil, AVDictionaryEntry *, av_dict_get, (const AVDictionary *m, const char *key, const AVDictionaryEntry *prev, int flags), (m, key, prev, flags))
SONALIX_FORWARD(kAvutil, int, av_dict_set, (AVDictionary **pm, const char *key, const char *value, int flags), (pm, key, value, flags))
SONALIX_FORWARD(kAvutil, AVFrame *, av_frame_alloc, (void), ())
SONALIX_FORWARD(kAvutil, void, av_frame_free, (AVFrame **frame), (frame))
SONALIX_FORWARD(kAvutil, int, av_frame_get_buffer, (AVFrame *frame, int align), (frame, align))
SONALIX_FORWARD(kAvutil, AVFrameSideData *, av_frame_get_side_data, (const AVFrame *frame, enum AVFrameSideDataType type), (frame, type))
SONALIX_FORWARD(kAvutil, void, av_frame_unref, (AVFrame *frame), (frame))
SONALIX_FORWARD(kAvutil, int, av_get_bytes_per_sample, (enum AVSampleFormat sample_fmt), (sample_fmt))
SONALIX_FORWARD(kAvutil, void, av_log_set_level, (int level), (level))
SONALIX_FORWARD(kAvutil, int, av_opt_set_double, (void *obj, const char *name, double val, int search_flags), (obj, name, val, search_flags))
SONALIX_FORWARD(kAvutil, int64_t, av_rescale, (int64_t a, int64_t b, int64_t c), (a, b, c))
SONALIX_FORWARD(kAvutil, int64_t, av_rescale_q, (int64_t a, AVRational bq, AVRational cq), (a, bq, cq))
SONALIX_FORWARD(kAvutil, int, av_sample_fmt_is_planar, (enum AVSampleFormat sample_fmt), (sample_fmt))
SONALIX_FORWARD(kAvutil, int, av_strerror, (int errnum, char *errbuf, size_t errbuf_size), (errnum, errbuf, errbuf_size))

// libswresample
SONALIX_FORWARD(kSwresample, int, swr_alloc_set_opts2, (struct SwrContext **ps, AVChannelLayout *out_ch_layout, enum AVSampleFormat out_sample_fmt, int out_sample_rate, AVChannelLayout *in_ch_layout, enum AVSampleFormat in_sample_fmt, int in_sample_rate, int log_offset, void *log_ctx), (ps, out_ch_layout, out_sample_fmt, out_sample_rate, in_ch_layout, in_sample_fmt, in_sample_rate, log_offset, log_ctx))
SONALIX_FORWARD(kSwresample, int, swr_convert, (struct SwrContext *s, uint8_t **out, int out_count, const uint8_t **in, int in_count), (s, out, out_count, in, in_count))
SONALIX_FORWARD(kSwresample, void, swr_free, (struct SwrContext **s), (s))
SONALIX_FORWARD(kSwresample, int, swr_get_out_samples, (struct SwrContext *s, int in_samples), (s, in_samples))
SONALIX_FORWARD(kSwresample, int, swr_init, (struct SwrContext *s), (s))

// espeak-ng
SONALIX_FORWARD(kEspeak, int, espeak_Initialize, (espeak_AUDIO_OUTPUT output, int buflength, const char *path, int options), (output, buflength, path, options))
SONALIX_FORWARD(kEspeak, const espeak_VOICE **, espeak_ListVoices, (espeak_VOICE *voice_spec), (voice_spec))
SONALIX_FORWARD(kEspeak, espeak_ERROR, espeak_SetParameter, (espeak_PARAMETER parameter, int value, int relative), (parameter, value, relative))
SONALIX_FORWARD(kEspeak, void, espeak_SetSynthCallback, (t_espeak_callback* SynthCallback), (SynthCallback))
SONALIX_FORWARD(kEspeak, espeak_ERROR, espeak_SetVoiceByName, (const char *name), (name))
SONALIX_FORWARD(kEspeak, espeak_ERROR, espeak_Synchronize, (void), ())
SONALIX_FORWARD(kEspeak, espeak_ERROR, espeak_Synth, (const void *text, size_t size, unsigned int position, espeak_POSITION_TYPE position_type, unsigned int end_position, unsigned int flags, unsigned int* unique_identifier, void* user_data), (text, size, position, position_type, end_position, flags, unique_identifier, user_data))
}  // extern "C"
