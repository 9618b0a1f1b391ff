#pragma once
// Streams that deflate into, or inflate from, another stream through zlib, and the two
// whole-stream helpers the skin container uses.

#include <zlib.h>

#include <cstdint>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

SONALIX_DECLARE_EXCEPTION(EZlibError, Exception);
SONALIX_DECLARE_EXCEPTION(ECompressionError, EZlibError);
SONALIX_DECLARE_EXCEPTION(EDecompressionError, EZlibError);

// Level index 0..3: none, fastest, zlib's default, best.
enum TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCustomZlibStream : public TStream {
 public:
  TNotifyEvent ProgressEvent;

 protected:
  explicit TCustomZlibStream(TStream* Strm);
  // Puts the underlying stream back where this object left it, if someone moved it.
  void RestorePosition();
  void RecordPosition();
  void Progress();

  static constexpr int BufferSize = 4096;
  TStream* FStrm;  // not owned
  int64_t FStrmPos;
  z_stream FZRec{};
  unsigned char FBuffer[BufferSize];
};

// Write-only: what is written comes out compressed in the destination stream; the zlib stream
// is completed when this object is freed.
class TCompressionStream : public TCustomZlibStream {
 public:
  TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest);
  // Completes the zlib stream if Finish was not called; errors are lost there, so callers that
  // must know call Finish.
  ~TCompressionStream() override;
  // Completes the zlib stream in the destination; raises when writing it fails.
  void Finish();
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  // Only the position query (0, soCurrent): the number of bytes taken in so far.
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;

 private:
  void Check(int code);
  bool FFinished = false;
};

// Read-only: reading returns the inflated content of the source stream. A truncated source
// ends the data early without an error; StreamEnded() tells whether the end was reached.
class TDecompressionStream : public TCustomZlibStream {
 public:
  explicit TDecompressionStream(TStream* Source);
  ~TDecompressionStream() override;
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  // (0, soBeginning) rewinds; forward seeks skip by reading; the result is the bytes produced.
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  bool StreamEnded() const { return FEnded; }

 private:
  void Check(int code);
  void Skip(int64_t Count);
  bool FEnded = false;
};

// Compresses the whole of Source, from its start, at the best level.
void CompressStreamTo(TMemoryStream* Source, TStream* Dest);
// Inflates all of Source, from its start, into Dest. Raises EDecompressionError
// "compression error" when Source ends before the zlib stream does.
void DecompressStreamTo(TStream* Dest, TStream* Source);
