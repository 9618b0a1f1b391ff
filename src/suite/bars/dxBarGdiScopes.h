#pragma once
// Scope guards the bar painters draw with: a drawing object deleted when the scope ends, an
// object selected into a DC for a scope, and a DC's clip region put back as it was. Each undoes
// its step also when an exception leaves the scope.

#include "platform/win/Windows.h"

namespace dxBarGdi {

// A drawing object made for one call.
class TTempObject {
 public:
  explicit TTempObject(HGDIOBJ Handle) : FHandle(Handle) {}
  ~TTempObject() {
    if (FHandle) DeleteObject(FHandle);
  }
  TTempObject(const TTempObject&) = delete;
  TTempObject& operator=(const TTempObject&) = delete;
  HGDIOBJ Handle() const { return FHandle; }
  HBRUSH Brush() const { return static_cast<HBRUSH>(FHandle); }

 private:
  HGDIOBJ FHandle;
};

// Selects an object into a DC for a scope and puts the previous one back.
class TSelection {
 public:
  TSelection(HDC DC, HGDIOBJ Object) : FDC(DC), FPrevious(SelectObject(DC, Object)) {}
  ~TSelection() { SelectObject(FDC, FPrevious); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};

// Keeps a DC's clip region as it was when the scope began.
class TClipKeeper {
 public:
  explicit TClipKeeper(HDC DC) : FDC(DC), FSaved(CreateRectRgn(0, 0, 0, 0)) {
    FHad = GetClipRgn(DC, FSaved) == 1;
  }
  ~TClipKeeper() {
    SelectClipRgn(FDC, FHad ? FSaved : nullptr);
    DeleteObject(FSaved);
  }
  TClipKeeper(const TClipKeeper&) = delete;
  TClipKeeper& operator=(const TClipKeeper&) = delete;

 private:
  HDC FDC;
  HRGN FSaved;
  bool FHad = false;
};

}  // namespace dxBarGdi
