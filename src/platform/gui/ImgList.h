#pragma once
// The image list: equally sized images, each with an optional 1-bit mask (white = transparent),
// kept in a handle-based list and wrapped by TCustomImageList. Images keep their 32-bit colour
// and alpha; a mask-less image with alpha is drawn by its alpha.

#include <cstdint>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Windows.h"

class TBitmap;
class TStream;

struct TImageListData;
using HIMAGELIST = TImageListData*;

constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_MASK = 0x0010;
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

struct IMAGEINFO {
  HBITMAP hbmImage = nullptr;
  HBITMAP hbmMask = nullptr;
  int Unused1 = 0;
  int Unused2 = 0;
  RECT rcImage{};
};

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
// Removes every image.
BOOL ImageList_SetIconSize(HIMAGELIST list, int cx, int cy);
// A bitmap as wide as several images adds them all; returns the first new index or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// Pixels of the colour become the mask and are cleared to black in the image.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// -1 removes all.
BOOL ImageList_Remove(HIMAGELIST list, int index);
// The images as one strip (image i at x = i * cx): fresh bitmaps the caller deletes. The mask
// strip is 1 bit per pixel and is null for a list made without ILC_MASK.
BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
BOOL ImageList_Write(HIMAGELIST list, TStream* stream);
// Null when the stream holds no image list.
HIMAGELIST ImageList_Read(TStream* stream);
// The bits per pixel the list was made with (32 or 24).
int ImageList_GetColorDepth(HIMAGELIST list);

enum class TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
using enum TDrawingStyle;
enum class TImageType { itImage, itMask };
using enum TImageType;

class TCustomImageList;

// Told of every change of the image list it is registered with.
// The version the common controls report, major in the high word: 6.10, as on the system the
// platform reports.
constexpr uint32_t ComCtlVersion() { return 0x0006000A; }

class TChangeLink : public TObject {
 public:
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* Value) { FSender = Value; }
  virtual void Change();
  TNotifyEvent OnChange;

 private:
  TCustomImageList* FSender = nullptr;
};

class TCustomImageList : public TComponent {
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  HIMAGELIST Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  int Count() const;
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  virtual void SetWidth(int Value);
  virtual void SetHeight(int Value);
  virtual void SetSize(int AWidth, int AHeight);
  int AllocBy() const { return FAllocBy; }
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value) { FBkColor = Value; }
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value) { FBlendColor = Value; }
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value) { FDrawingStyle = Value; }
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value) { FImageType = Value; }
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool Value) { FShareImages = Value; }

  int Add(TBitmap* Image, TBitmap* Mask);
  int AddMasked(TBitmap* Image, TColor MaskColor);
  void Delete(int Index);
  void Clear() { Delete(-1); }
  bool GetBitmap(int Index, TBitmap* Image);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void Assign(TPersistent* Source) override;
  void RegisterChanges(TChangeLink* Link);
  void UnRegisterChanges(TChangeLink* Link);

  TNotifyEvent OnChange;

 protected:
  // Makes the handle; derived lists may make it their own way.
  virtual void Initialize();
  virtual void Change();
  virtual void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled);
  void SetHandleValue(HIMAGELIST Value);
  // The images are stored as "Bitmap" data in the ImageList_Write form; damaged data raises
  // EReadError and leaves the list as it was.
  void DefineProperties(TFiler* Filer) override;
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);
  int FWidth = 16, FHeight = 16, FAllocBy = 4;

 private:
  HIMAGELIST FHandle = nullptr;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  bool FShareImages = false;
  std::vector<TChangeLink*> FLinks;
};

class TDragImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
};
