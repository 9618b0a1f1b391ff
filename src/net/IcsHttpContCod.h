#pragma once
// Content codings of HTTP replies: the "Accept-Encoding" list a client announces and the chain
// of decoders that undo a reply's "content-encoding".

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

class TStream;

SONALIX_DECLARE_EXCEPTION(EHttpContentCodingException, Exception);

using TWriteBufferProcedure = std::function<void(const void* Buffer, int Count)>;

// The base of a coding. Besides the instance operations, a coding class has two class
// operations: GetActive (true unless hidden) and GetCoding, the coding's name. A class that does
// not declare its own GetCoding() gets the part of its class name after "THttpContentCoding".
class THttpContentCoding : public TObject {
 public:
  static bool GetActive() { return true; }
  // The name rule for classes without their own GetCoding(); raises
  // EHttpContentCodingException for a class name that does not begin with "THttpContentCoding".
  static std::string GetCoding(const std::string& ClassName);

  // Decoded data go to WriteBufferProc.
  explicit THttpContentCoding(TWriteBufferProcedure WriteBufferProc);
  // Flushes what is left at the end of the body.
  virtual void Complete() {}
  virtual void WriteBuffer(const void* Buffer, int Count) = 0;

 protected:
  TWriteBufferProcedure FWriteBuffer;
};

// The class reference of a coding: what the registry lists and a handler instantiates.
struct THttpContentCodingClassRec {
  std::string ClassName;
  bool (*GetActive)();
  std::string (*GetCoding)();
  std::unique_ptr<THttpContentCoding> (*Create)(TWriteBufferProcedure WriteBufferProc);
};
using THttpContentCodingClass = const THttpContentCodingClassRec*;

template <class T>
THttpContentCodingClass ContentCodingClass() {
  static const THttpContentCodingClassRec rec{
      TypeName(typeid(T)), &T::GetActive,
      [] {
        if constexpr (requires { T::GetCoding(); })
          return std::string(T::GetCoding());
        else
          return THttpContentCoding::GetCoding(TypeName(typeid(T)));
      },
      [](TWriteBufferProcedure proc) -> std::unique_ptr<THttpContentCoding> {
        return std::make_unique<T>(std::move(proc));
      }};
  return &rec;
}

// "identity" and "*" hand the data on unchanged.
class THttpCCodIdentity : public THttpContentCoding {
 public:
  using THttpContentCoding::THttpContentCoding;
  static std::string GetCoding() { return "identity"; }
  void WriteBuffer(const void* Buffer, int Count) override { FWriteBuffer(Buffer, Count); }
};

class THttpCCodStar : public THttpContentCoding {
 public:
  using THttpContentCoding::THttpContentCoding;
  static std::string GetCoding() { return "*"; }
  void WriteBuffer(const void* Buffer, int Count) override { FWriteBuffer(Buffer, Count); }
};

// The process-wide registry of codings with their qualities, in registration order. It starts
// with "identity" and "*", both of quality 0.
class TContCodingsList {
 public:
  struct TItem {
    THttpContentCodingClass CodingClass;
    float Quality;
  };
  static TContCodingsList& Instance();
  void RegisterCoding(THttpContentCodingClass CodingClass, float Quality);
  void UnregisterCoding(THttpContentCodingClass CodingClass);
  // The last registered class whose coding name equals Name, ignoring case; null when none.
  THttpContentCodingClass FindCoding(const std::string& Name) const;
  const std::vector<TItem>& Items() const { return FItems; }

 private:
  TContCodingsList();
  std::vector<TItem> FItems;
};

// One coding as a client sees it.
struct THttpContCodItem {
  THttpContentCodingClass CodingClass = nullptr;
  bool Enabled = true;
  float Quality = 0;
};

class THttpContCodHandler : public TObject {
 public:
  // OutStream points to the client's reply stream field (read at each write, so a stream set
  // later is used); OutputWriteBuffer is the client's document-data callback.
  THttpContCodHandler(TStream* const* OutStream, TWriteBufferProcedure OutputWriteBuffer);
  ~THttpContCodHandler() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool UseQuality() const { return FUseQuality; }
  void SetUseQuality(bool Value);

  // The "Accept-Encoding" value; empty when not Enabled.
  std::string HeaderText();
  // Builds the decoder chain for a reply's content coding list. A name without a registered
  // coding gives false, and the body is then passed on as received.
  bool Prepare(const std::string& ContentEncoding);
  void WriteInput(const void* Buffer, int Count) { FInputWriteBuffer(Buffer, Count); }
  // Flushes the decoders, the one nearest the input first.
  void Complete();
  void Clear();

 private:
  void PlainWrite(const void* Buffer, int Count);

  TStream* const* FOutStream;
  TWriteBufferProcedure FInputWriteBuffer;
  TWriteBufferProcedure FOutputWriteBuffer;
  std::string FHeaderText;
  bool FRecalcHeader = true;
  bool FEnabled = false;
  bool FUseQuality = false;
  std::vector<std::unique_ptr<THttpContentCoding>> FDecoders;  // output side first
  std::vector<THttpContCodItem> FItems;
};
