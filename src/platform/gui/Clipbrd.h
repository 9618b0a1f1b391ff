#pragma once
// The clipboard object over the system clipboard: pictures and bitmaps go in and come out in
// the clipboard formats their classes registered with TPicture.

#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/win/WinClipboard.h"

class TClipboard : public TPersistent {
 public:
  // Nested pairs; the outermost Close lets go of the system clipboard.
  void Open();
  void Close();
  void Clear();
  bool HasFormat(WORD Format) const;
  // The clipboard keeps the handle given; the one read stays the clipboard's (copy it).
  HANDLE GetAsHandle(WORD Format);
  void SetAsHandle(WORD Format, HANDLE Value);
  // A graphic or a picture goes in its own clipboard form (replacing what was there).
  void Assign(TPersistent* Source) override;

 protected:
  // A picture or a bitmap reads the first registered format the clipboard holds.
  void AssignTo(TPersistent* Dest) override;

 private:
  int FOpenRefCount = 0;
};

// The process's clipboard object.
TClipboard* Clipboard();
