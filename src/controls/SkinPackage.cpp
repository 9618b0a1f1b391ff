// The zlib side of stored skins, apart from the drawing headers whose colour names clash with
// the compression levels.
#include "controls/ZlibStreams.h"

bool spInflatePackage(TStream* Compressed, TMemoryStream* Out, int64_t Limit, bool& Complete);
void spDeflatePackage(TMemoryStream* Package, TStream* Out);

bool spInflatePackage(TStream* Compressed, TMemoryStream* Out, int64_t Limit, bool& Complete) {
  Compressed->SetPosition(0);
  TDecompressionStream z(Compressed);
  char buffer[65536];
  for (;;) {
    int64_t n = z.Read(buffer, sizeof(buffer));
    if (n <= 0) break;
    if (Out->Size() + n > Limit) return false;
    Out->WriteBuffer(buffer, n);
  }
  Complete = z.StreamEnded();
  return true;
}

void spDeflatePackage(TMemoryStream* Package, TStream* Out) { CompressStreamTo(Package, Out); }
