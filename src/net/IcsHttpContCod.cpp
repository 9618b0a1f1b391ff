#include "net/IcsHttpContCod.h"

#include "platform/rtl/Streams.h"

namespace {
const char* const CodingClassPrefix = "THttpContentCoding";
}

std::string THttpContentCoding::GetCoding(const std::string& ClassName) {
  const std::string prefix = CodingClassPrefix;
  if (ClassName.compare(0, prefix.size(), prefix) != 0)
    throw EHttpContentCodingException(Format("GetCoding must be overriden in %s", {ClassName}));
  return ClassName.substr(prefix.size());
}

THttpContentCoding::THttpContentCoding(TWriteBufferProcedure WriteBufferProc)
    : FWriteBuffer(std::move(WriteBufferProc)) {}

TContCodingsList::TContCodingsList() {
  FItems.push_back({ContentCodingClass<THttpCCodIdentity>(), 0});
  FItems.push_back({ContentCodingClass<THttpCCodStar>(), 0});
}

TContCodingsList& TContCodingsList::Instance() {
  static TContCodingsList list;
  return list;
}

void TContCodingsList::RegisterCoding(THttpContentCodingClass CodingClass, float Quality) {
  FItems.push_back({CodingClass, Quality});
}

void TContCodingsList::UnregisterCoding(THttpContentCodingClass CodingClass) {
  std::erase_if(FItems, [&](const TItem& item) { return item.CodingClass == CodingClass; });
}

THttpContentCodingClass TContCodingsList::FindCoding(const std::string& Name) const {
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it)
    if (SameText(it->CodingClass->GetCoding(), Name)) return it->CodingClass;
  return nullptr;
}

THttpContCodHandler::THttpContCodHandler(TStream* const* OutStream,
                                         TWriteBufferProcedure OutputWriteBuffer)
    : FOutStream(OutStream), FOutputWriteBuffer(std::move(OutputWriteBuffer)) {
  FInputWriteBuffer = [this](const void* b, int n) { PlainWrite(b, n); };
  for (const auto& item : TContCodingsList::Instance().Items())
    FItems.push_back({item.CodingClass, true, item.Quality});
}

THttpContCodHandler::~THttpContCodHandler() = default;

void THttpContCodHandler::PlainWrite(const void* Buffer, int Count) {
  if (FOutStream && *FOutStream) (*FOutStream)->WriteBuffer(Buffer, Count);
  if (FOutputWriteBuffer) FOutputWriteBuffer(Buffer, Count);
}

void THttpContCodHandler::SetUseQuality(bool Value) {
  FUseQuality = Value;
  FRecalcHeader = true;
}

std::string THttpContCodHandler::HeaderText() {
  if (!FEnabled) return {};
  if (FRecalcHeader) {
    FRecalcHeader = false;
    std::vector<const THttpContCodItem*> offered;
    for (const auto& item : FItems)
      if (item.Enabled && item.CodingClass->GetActive()) offered.push_back(&item);
    const bool withQuality = FUseQuality && offered.size() >= 2;
    FHeaderText.clear();
    for (const THttpContCodItem* item : offered) {
      if (!withQuality && !(item->Quality > 0)) continue;
      if (!FHeaderText.empty()) FHeaderText += ", ";
      FHeaderText += item->CodingClass->GetCoding();
      if (withQuality) FHeaderText += ";q=" + FormatFloat("0.###", item->Quality);
    }
  }
  return FHeaderText;
}

bool THttpContCodHandler::Prepare(const std::string& ContentEncoding) {
  Clear();
  if (!FEnabled || ContentEncoding.empty()) return true;
  std::size_t at = 0;
  while (at <= ContentEncoding.size()) {
    std::size_t comma = ContentEncoding.find(',', at);
    if (comma == std::string::npos) comma = ContentEncoding.size();
    const std::string name = Trim(ContentEncoding.substr(at, comma - at));
    at = comma + 1;
    const THttpContentCodingClass cls = TContCodingsList::Instance().FindCoding(name);
    if (!cls) {
      Clear();
      return false;
    }
    FDecoders.push_back(cls->Create(FInputWriteBuffer));
    THttpContentCoding* decoder = FDecoders.back().get();
    FInputWriteBuffer = [decoder](const void* b, int n) { decoder->WriteBuffer(b, n); };
  }
  return true;
}

void THttpContCodHandler::Complete() {
  for (auto it = FDecoders.rbegin(); it != FDecoders.rend(); ++it) (*it)->Complete();
}

void THttpContCodHandler::Clear() {
  FDecoders.clear();
  FInputWriteBuffer = [this](const void* b, int n) { PlainWrite(b, n); };
}
