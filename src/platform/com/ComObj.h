#pragma once
// Component-object basics as the libraries above speak them: result codes, interface ids,
// reference-counted interfaces, the automation variant for the kinds the callers exchange, and a
// holder that keeps one reference. Strings cross these interfaces as UTF-8 std::string.

#include <cstdint>
#include <utility>

using HRESULT = int32_t;
using ULONG = uint32_t;
using LONG = int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
constexpr HRESULT E_POINTER = HRESULT(0x80004003u);
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = HRESULT(0x80020003u);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

struct TGUID {
  uint32_t D1 = 0;
  uint16_t D2 = 0, D3 = 0;
  uint8_t D4[8] = {};
  bool operator==(const TGUID&) const = default;
};
using IID = TGUID;

class IUnknown {
 public:
  virtual HRESULT QueryInterface(const IID& riid, void** ppvObject) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};
extern const IID IID_IUnknown;

// Automation; the type-information half is never served by this system's objects.
class IDispatch : public IUnknown {
 public:
  virtual HRESULT GetTypeInfoCount(unsigned* pctinfo) = 0;
  virtual HRESULT GetTypeInfo(unsigned iTInfo, uint32_t lcid, void** ppTInfo) = 0;
  virtual HRESULT GetIDsOfNames(const IID& riid, const char* const* rgszNames, unsigned cNames,
                                uint32_t lcid, int32_t* rgDispId) = 0;
  virtual HRESULT Invoke(int32_t dispIdMember, const IID& riid, uint32_t lcid, uint16_t wFlags,
                         void* pDispParams, void* pVarResult, void* pExcepInfo,
                         unsigned* puArgErr) = 0;

 protected:
  ~IDispatch() = default;
};
extern const IID IID_IDispatch;

using VARTYPE = uint16_t;
constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_I4 = 3;
constexpr VARTYPE VT_DISPATCH = 9;

// A variant of the three kinds exchanged here. A VT_DISPATCH variant holds one reference of its
// interface, given back when the variant is cleared, overwritten or destroyed.
struct VARIANT {
  VARTYPE vt = VT_EMPTY;
  LONG lVal = 0;
  IDispatch* pdispVal = nullptr;

  VARIANT() = default;
  VARIANT(const VARIANT& Other);
  VARIANT& operator=(const VARIANT& Other);
  ~VARIANT() { Clear(); }
  void Clear();
  static VARIANT I4(LONG Value);
  // Takes over one reference the caller already holds.
  static VARIANT Dispatch(IDispatch* Value);
};

// Keeps one reference of an interface.
template <class I>
class TComPtr {
 public:
  TComPtr() = default;
  TComPtr(I* p) : FPtr(p) {  // NOLINT: adopts a fresh reference (from a factory or an out value)
  }
  TComPtr(const TComPtr& o) : FPtr(o.FPtr) {
    if (FPtr) FPtr->AddRef();
  }
  TComPtr(TComPtr&& o) noexcept : FPtr(std::exchange(o.FPtr, nullptr)) {}
  TComPtr& operator=(TComPtr o) noexcept {
    std::swap(FPtr, o.FPtr);
    return *this;
  }
  ~TComPtr() {
    if (FPtr) FPtr->Release();
  }
  I* get() const { return FPtr; }
  I* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  // The address for an out parameter; what was held is given back first.
  I** put() {
    *this = TComPtr();
    return &FPtr;
  }
  // Hands the reference over to the caller.
  I* detach() { return std::exchange(FPtr, nullptr); }
  // Adds a reference to a borrowed pointer.
  static TComPtr Share(I* p) {
    if (p) p->AddRef();
    return TComPtr(p);
  }

 private:
  I* FPtr = nullptr;
};

// The interface I of an object through QueryInterface, or an empty holder.
template <class I>
TComPtr<I> QueryAs(IUnknown* Object, const IID& Iid) {
  void* p = nullptr;
  if (!Object || FAILED(Object->QueryInterface(Iid, &p))) return {};
  return TComPtr<I>(static_cast<I*>(p));
}
