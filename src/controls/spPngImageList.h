#pragma once
// An image list of PNG pictures: each item keeps its picture as PNG data in the form description
// and is drawn with its own alpha; a disabled image is drawn at half opacity.

#include <memory>
#include <string>

#include "controls/spPngImage.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Classes.h"

class TspPngImageList;

class TspPngImageItem : public TCollectionItem {
 public:
  explicit TspPngImageItem(TCollection* Collection);
  ~TspPngImageItem() override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& Value) { FName = Value; }
  TspPngImage* PngImage() const { return FPngImage.get(); }
  void SetPngImage(TspPngImage* Value);
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override;

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  TspPngImageList* List() const;
  std::string FName;
  std::unique_ptr<TspPngImage> FPngImage = std::make_unique<TspPngImage>();
};

class TspPngImageItems : public TCollection {
 public:
  explicit TspPngImageItems(TspPngImageList* AOwner);
  TspPngImageList* List() const { return FList; }
  TspPngImageItem* Item(int Index) const { return Get<TspPngImageItem>(Index); }

 protected:
  TPersistent* GetOwner() const override;

 private:
  TspPngImageList* FList;
};

class TspPngImageList : public TCustomImageList {
 public:
  explicit TspPngImageList(TComponent* AOwner);
  ~TspPngImageList() override;

  TspPngImageItems* PngImages() const { return FPngImages.get(); }
  void SetPngImages(TspPngImageItems* Value) { FPngImages->Assign(Value); }
  // The list's image size; a new size empties the list (but while it is being read).
  int PngWidth() const { return Width(); }
  void SetPngWidth(int Value);
  int PngHeight() const { return Height(); }
  void SetPngHeight(int Value);

 protected:
  void DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;
  // The images are the items' pictures; the platform list holds only placeholders.
  void DefineProperties(TFiler* Filer) override {}

 private:
  std::unique_ptr<TspPngImageItems> FPngImages;
};

// A copy of the picture to be drawn disabled: RGB with alpha, at half the picture's opacity.
void MakeDisabledPngImage(const TspPngImage* Source, TspPngImage* Dest);

void RegisterSpPngImageListClasses();
