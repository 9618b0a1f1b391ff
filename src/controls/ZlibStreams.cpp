#include "controls/ZlibStreams.h"

#include <algorithm>

namespace {
constexpr int kLevels[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION, Z_BEST_COMPRESSION};
const char* const kInvalidOperation = "Invalid stream operation";
}  // namespace

TCustomZlibStream::TCustomZlibStream(TStream* Strm) : FStrm(Strm), FStrmPos(Strm->Position()) {}

void TCustomZlibStream::RestorePosition() {
  if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
}

void TCustomZlibStream::RecordPosition() { FStrmPos = FStrm->Position(); }

void TCustomZlibStream::Progress() {
  if (ProgressEvent) ProgressEvent(this);
}

// ---- compression

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest)
    : TCustomZlibStream(Dest) {
  FZRec.next_out = FBuffer;
  FZRec.avail_out = BufferSize;
  int level = kLevels[std::clamp(int(CompressionLevel), 0, 3)];
  Check(deflateInit(&FZRec, level));
}

TCompressionStream::~TCompressionStream() {
  try {
    Finish();
  } catch (...) {
    // A destructor cannot report; Finish is there for callers that must know.
  }
  deflateEnd(&FZRec);
}

void TCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  FZRec.next_in = nullptr;
  FZRec.avail_in = 0;
  RestorePosition();
  while (true) {
    int code = deflate(&FZRec, Z_FINISH);
    Check(code);
    if (FZRec.avail_out != 0) break;  // the rest is in the buffer
    FStrm->WriteBuffer(FBuffer, BufferSize);
    FZRec.next_out = FBuffer;
    FZRec.avail_out = BufferSize;
    if (code == Z_STREAM_END) break;
  }
  if (FZRec.avail_out < unsigned(BufferSize))
    FStrm->WriteBuffer(FBuffer, BufferSize - FZRec.avail_out);
}

void TCompressionStream::Check(int code) {
  if (code < 0) throw ECompressionError("error");
}

int64_t TCompressionStream::Read(void*, int64_t) { throw ECompressionError(kInvalidOperation); }

int64_t TCompressionStream::Write(const void* Buffer, int64_t Count) {
  if (FFinished) throw ECompressionError(kInvalidOperation);
  auto* in = static_cast<const unsigned char*>(Buffer);
  int64_t remaining = Count;
  RestorePosition();
  while (remaining > 0) {
    // zlib counts in 32 bits: feed very large writes in slices.
    uInt slice = uInt(std::min<int64_t>(remaining, 1 << 30));
    FZRec.next_in = const_cast<unsigned char*>(in);
    FZRec.avail_in = slice;
    while (FZRec.avail_in > 0) {
      Check(deflate(&FZRec, Z_NO_FLUSH));
      if (FZRec.avail_out == 0) {
        FStrm->WriteBuffer(FBuffer, BufferSize);
        FZRec.next_out = FBuffer;
        FZRec.avail_out = BufferSize;
        RecordPosition();
        Progress();
      }
    }
    in += slice;
    remaining -= slice;
  }
  return Count;
}

int64_t TCompressionStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  if (Offset == 0 && Origin == soCurrent) return int64_t(FZRec.total_in);
  throw ECompressionError(kInvalidOperation);
}

// ---- decompression

TDecompressionStream::TDecompressionStream(TStream* Source) : TCustomZlibStream(Source) {
  FZRec.next_in = FBuffer;
  FZRec.avail_in = 0;
  Check(inflateInit(&FZRec));
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&FZRec); }

void TDecompressionStream::Check(int code) {
  // Anything but progress or the end is an error: a stream that asks for a preset dictionary
  // (which no caller has) would otherwise be asked again for ever.
  if (code != Z_OK && code != Z_STREAM_END) throw EDecompressionError("compression error");
}

int64_t TDecompressionStream::Read(void* Buffer, int64_t Count) {
  auto* out = static_cast<unsigned char*>(Buffer);
  int64_t produced = 0;
  RestorePosition();
  while (produced < Count && !FEnded) {
    uInt room = uInt(std::min<int64_t>(Count - produced, 1 << 30));
    FZRec.next_out = out + produced;
    FZRec.avail_out = room;
    while (FZRec.avail_out > 0) {
      if (FZRec.avail_in == 0) {
        int64_t got = FStrm->Read(FBuffer, BufferSize);
        if (got == 0) return produced + (room - FZRec.avail_out);
        FZRec.next_in = FBuffer;
        FZRec.avail_in = uInt(got);
        RecordPosition();
        Progress();
      }
      int code = inflate(&FZRec, Z_NO_FLUSH);
      Check(code);
      if (code == Z_STREAM_END) {
        FEnded = true;
        break;
      }
    }
    produced += room - FZRec.avail_out;
  }
  return produced;
}

int64_t TDecompressionStream::Write(const void*, int64_t) {
  throw EDecompressionError(kInvalidOperation);
}

void TDecompressionStream::Skip(int64_t Count) {
  unsigned char scratch[BufferSize];
  while (Count > 0) {
    int64_t piece = std::min<int64_t>(Count, BufferSize);
    ReadBuffer(scratch, piece);
    Count -= piece;
  }
}

int64_t TDecompressionStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  const int64_t produced = int64_t(FZRec.total_out);
  if (Offset == 0 && Origin == soBeginning) {
    Check(inflateReset(&FZRec));
    FZRec.next_in = FBuffer;
    FZRec.avail_in = 0;
    FEnded = false;
    FStrm->SetPosition(0);
    FStrmPos = 0;
  } else if (Origin == soCurrent && Offset >= 0) {
    Skip(Offset);
  } else if (Origin == soBeginning && Offset > produced) {
    Skip(Offset - produced);
  } else {
    throw EDecompressionError(kInvalidOperation);
  }
  return int64_t(FZRec.total_out);
}

// ---- whole streams

void CompressStreamTo(TMemoryStream* Source, TStream* Dest) {
  TCompressionStream z(clMax, Dest);
  z.WriteBuffer(Source->Memory(), Source->Size());
  z.Finish();
}

void DecompressStreamTo(TStream* Dest, TStream* Source) {
  Source->SetPosition(0);
  TDecompressionStream z(Source);
  unsigned char buffer[4096];
  while (int64_t got = z.Read(buffer, sizeof buffer)) Dest->WriteBuffer(buffer, got);
  if (!z.StreamEnded()) throw EDecompressionError("compression error");
}
