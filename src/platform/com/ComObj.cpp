#include "platform/com/ComObj.h"

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

VARIANT::VARIANT(const VARIANT& Other) : vt(Other.vt), lVal(Other.lVal), pdispVal(Other.pdispVal) {
  if (vt == VT_DISPATCH && pdispVal) pdispVal->AddRef();
}

VARIANT& VARIANT::operator=(const VARIANT& Other) {
  if (this == &Other) return *this;
  if (Other.vt == VT_DISPATCH && Other.pdispVal) Other.pdispVal->AddRef();
  Clear();
  vt = Other.vt;
  lVal = Other.lVal;
  pdispVal = Other.pdispVal;
  return *this;
}

void VARIANT::Clear() {
  if (vt == VT_DISPATCH && pdispVal) pdispVal->Release();
  vt = VT_EMPTY;
  lVal = 0;
  pdispVal = nullptr;
}

VARIANT VARIANT::I4(LONG Value) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = Value;
  return v;
}

VARIANT VARIANT::Dispatch(IDispatch* Value) {
  VARIANT v;
  v.vt = VT_DISPATCH;
  v.pdispVal = Value;
  return v;
}
