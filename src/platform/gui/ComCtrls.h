#pragma once
// Common controls over hosted Qt widgets: the report-style list view, the progress bar, the
// scroll bar, the page control with its sheets, and the date and time picker. Each keeps its
// own state, so it works before its window exists and survives the window being recreated.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/ScrollTypes.h"
#include "platform/rtl/SysUtils.h"

class TCustomImageList;
class TChangeLink;
class TStringList;
class TListView;
class TListItems;

// ---------------------------------------------------------------------------------------------
// Progress bar

enum class TProgressBarOrientation { pbHorizontal, pbVertical };
using enum TProgressBarOrientation;

class TProgressBar : public TWinControl {
 public:
  explicit TProgressBar(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  // Kept within Min..Max.
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Step() const { return FStep; }
  void SetStep(int Value) { FStep = Value; }
  // Adds Step; past Max the bar starts over from Min.
  void StepIt();
  // Adds Delta, kept within Min..Max.
  void StepBy(int Delta);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool Value);
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation Value);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;

 private:
  void UpdateWidget();
  int FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  bool FSmooth = false;
  TProgressBarOrientation FOrientation = pbHorizontal;
};

// ---------------------------------------------------------------------------------------------
// Scroll bar


class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* AOwner);

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  int Min() const { return FMin; }
  void SetMin(int Value) { SetParams(FPosition, Value, FMax); }
  int Max() const { return FMax; }
  void SetMax(int Value) { SetParams(FPosition, FMin, Value); }
  int Position() const { return FPosition; }
  void SetPosition(int Value) { SetParams(Value, FMin, FMax); }
  // The thumb's share of the range; the last position the thumb reaches is Max - PageSize + 1.
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int Value) { FLargeChange = Value; }
  // Raises EInvalidOperation when Max is below Min; OnChange follows a changed position.
  void SetParams(int APosition, int AMin, int AMax);

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  virtual void Change();
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);

 private:
  friend struct TScrollBarWidget;
  int LastPosition() const;
  // The user moved the bar: OnScroll may change where it goes, then the position follows.
  void DoScroll(TScrollCode Code, int ScrollPos);
  void UpdateWidget();
  TScrollBarKind FKind = sbHorizontal;
  int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
  int FSmallChange = 1, FLargeChange = 1;
  bool FScrolling = false;  // scrolled since the button or key went down
};

// ---------------------------------------------------------------------------------------------
// Date and time picker

enum class TDateTimeKind { dtkDate, dtkTime };
using enum TDateTimeKind;
enum class TDTDateFormat { dfShort, dfLong };
using enum TDTDateFormat;

class TDateTimePicker : public TWinControl {
 public:
  explicit TDateTimePicker(TComponent* AOwner);

  TDateTimeKind Kind() const { return FKind; }
  void SetKind(TDateTimeKind Value);
  TDateTime DateTime() const { return FDateTime; }
  void SetDateTime(TDateTime Value);
  // The day (time of day kept) and the time of day (day kept).
  TDateTime Date() const;
  void SetDate(TDateTime Value);
  TDateTime Time() const;
  void SetTime(TDateTime Value);
  // A display format of the picker's own ("HH:mm:ss", "d MMMM yyyy", quoted literals in ''):
  // d dd ddd dddd M MM MMM MMMM yy yyyy h hh (12 hours) H HH m mm s ss t tt. Empty: the short
  // (or long) date format, or the long time format, of FormatSettings.
  const std::string& Format() const { return FFormat; }
  void SetFormat(const std::string& Value);
  TDTDateFormat DateFormat() const { return FDateFormat; }
  void SetDateFormat(TDTDateFormat Value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // What the picker shows.
  std::string GetText() const override;
  void Dispatch(TMessage& Message) override;
  virtual void Change();

 private:
  void UpdateWidget();
  std::string QtFormat() const;
  TDateTimeKind FKind = dtkDate;
  TDateTime FDateTime = 0;
  std::string FFormat;
  TDTDateFormat FDateFormat = dfShort;
};

// The picker's display format in Qt's terms (also the FormatSettings formats it falls back on).
std::string PickerFormatToQt(const std::string& Format);
std::string DateTimeFormatToQt(const std::string& Format);

// ---------------------------------------------------------------------------------------------
// List view (report style)

enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
using enum TViewStyle;

class TListColumn : public TCollectionItem {
 public:
  explicit TListColumn(TCollection* Collection);
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  // The column shares what the fixed columns leave of the list's width.
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  std::string DisplayName() const override { return FCaption; }
  void Assign(TPersistent* Source) override;

 private:
  std::string FCaption;
  int FWidth = 50;
  bool FAutoSize = false;
};

class TListColumns : public TOwnedCollection {
 public:
  explicit TListColumns(TListView* AOwner);
  TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
  TListColumn* Items(int Index) const { return static_cast<TListColumn*>(TCollection::Items(Index)); }
  TListView* Owner() const { return FView; }

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TListView* FView;
};

class TListItem : public TPersistent {
 public:
  TListItems* Owner() const { return FOwner; }
  TListView* ListView() const;
  int Index() const;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  // The texts of the columns after the first.
  TStrings* SubItems() const;
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // An object the row owns: freed with the row, or when replaced.
  TObject* Data() const { return FData.get(); }
  void SetData(std::unique_ptr<TObject> Value);
  bool Selected() const { return FSelected; }
  void SetSelected(bool Value);
  // The row with the keyboard focus mark.
  bool Focused() const;
  void SetFocused(bool Value);
  // Scrolls the list so the row shows.
  void MakeVisible(bool PartialOK);
  // Removes the row from its list and frees it.
  void Delete();
  ~TListItem() override;

 private:
  friend class TListItems;
  friend class TListView;
  friend struct TListViewSync;
  explicit TListItem(TListItems* AOwner);
  void Changed();
  TListItems* FOwner;
  std::string FCaption;
  std::unique_ptr<TStringList> FSubItems;
  int FImageIndex = -1;
  std::unique_ptr<TObject> FData;
  bool FSelected = false;
  void* FRow = nullptr;  // the widget's row while the window exists
};

class TListItems : public TPersistent {
 public:
  explicit TListItems(TListView* AOwner) : FView(AOwner) {}
  ~TListItems() override;
  TListView* Owner() const { return FView; }
  int Count() const { return int(FItems.size()); }
  TListItem* Item(int Index) const;
  TListItem* operator[](int Index) const { return Item(Index); }
  TListItem* Add();
  TListItem* Insert(int Index);
  // Frees the row and its data (OnDeletion hears of it first).
  void Delete(int Index);
  void Clear();
  int IndexOf(const TListItem* Item) const;
  // Changes made between these show once, at the outermost EndUpdate.
  void BeginUpdate();
  void EndUpdate();

 private:
  friend class TListItem;
  friend class TListView;
  friend struct TListViewSync;
  TListView* FView;
  std::vector<std::unique_ptr<TListItem>> FItems;
  int FUpdateCount = 0;
};

// Below zero when Item1 comes first.
using TLVCompare = std::function<int(TListItem* Item1, TListItem* Item2, LPARAM ParamSort)>;
using TLVColumnClickEvent = Event<void(TObject* Sender, TListColumn* Column)>;
using TLVSelectItemEvent = Event<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVDeletedEvent = Event<void(TObject* Sender, TListItem* Item)>;
using TLVEditedEvent = Event<void(TObject* Sender, TListItem* Item, std::string& S)>;

class TListView : public TWinControl {
 public:
  explicit TListView(TComponent* AOwner);
  ~TListView() override;

  TListColumns* Columns() const { return FColumns.get(); }
  void SetColumns(TListColumns* Value);
  TListItems* Items() const { return FItems.get(); }
  // Only the report style is built; the others show as a report.
  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle Value) { FViewStyle = Value; }
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  // The whole row shows as selected, not only its caption.
  bool RowSelect() const { return FRowSelect; }
  void SetRowSelect(bool Value);
  // Captions cannot be edited in place.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // False keeps the selection visible while another control has the focus.
  bool HideSelection() const { return FHideSelection; }
  void SetHideSelection(bool Value);
  bool ShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);
  // Column headers act as buttons (OnColumnClick).
  bool ColumnClick() const { return FColumnClick; }
  void SetColumnClick(bool Value);
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value);

  // The first selected row, or null; setting one selects only it.
  TListItem* Selected() const;
  void SetSelected(TListItem* Value);
  int SelCount() const;
  int ItemIndex() const;
  void SetItemIndex(int Value);
  TListItem* ItemFocused() const { return FFocused; }
  void SetItemFocused(TListItem* Value);
  void SelectAll();
  void ClearSelection();
  // The row at a client point, or null.
  TListItem* GetItemAt(int X, int Y);
  // Orders the rows by Compare (rows that compare equal keep their order).
  bool CustomSort(const TLVCompare& Compare, LPARAM ParamSort);
  // Rows by caption, without regard to case.
  bool AlphaSort();
  // The first row after StartIndex (from it when Inclusive) whose caption equals Value, or
  // starts with it when Partial, without regard to case; Wrap goes on from the top.
  TListItem* FindCaption(int StartIndex, const std::string& Value, bool Partial, bool Inclusive,
                         bool Wrap) const;

  TLVColumnClickEvent OnColumnClick;
  TLVSelectItemEvent OnSelectItem;
  TLVDeletedEvent OnDeletion;
  TLVEditedEvent OnEdited;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Resize() override;
  virtual void ColClick(TListColumn* Column);

 private:
  friend class TListItem;
  friend class TListItems;
  friend class TListColumns;
  friend struct TListViewSync;
  void ColumnsChanged();
  void ItemChanged(TListItem* Item);
  void ItemAdded(TListItem* Item);
  void ItemRemoving(TListItem* Item);
  void ItemSelecting(TListItem* Item, bool Value);
  void ReloadRows();
  void ApplySelection();
  void ApplyOptions();
  void ImagesChanged(TObject* Sender);

  std::unique_ptr<TListColumns> FColumns;
  std::unique_ptr<TListItems> FItems;
  TViewStyle FViewStyle = vsIcon;
  bool FMultiSelect = false, FRowSelect = false, FReadOnly = false, FHideSelection = true;
  bool FShowColumnHeaders = true, FColumnClick = true;
  TCustomImageList* FSmallImages = nullptr;
  std::unique_ptr<TChangeLink> FImageLink;
  TListItem* FFocused = nullptr;
  int FSyncing = 0;  // changes made here, not by the user
};

// ---------------------------------------------------------------------------------------------
// Page control

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* Value);
  // Position among the page control's sheets.
  int PageIndex() const;
  void SetPageIndex(int Value);
  // A hidden tab keeps its page, which only code can bring up.
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  // Position among the visible tabs; -1 when the tab is hidden.
  int TabIndex() const;
  void SetParent(TWinControl* AParent) override;

 protected:
  void CMTextChanged(TMessage& Message) override;

 private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

using TTabChangingEvent = Event<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int PageCount() const { return int(FPages.size()); }
  TTabSheet* Pages(int Index) const { return FPages.at(size_t(Index)); }
  // Shows that sheet's page (in code: no OnChanging or OnChange).
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Value);
  int ActivePageIndex() const;
  void SetActivePageIndex(int Value);
  // Where the pages lie, inside the frame and below the tabs.
  TRect DisplayRect() const;

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void Resize() override;
  void Loaded() override;
  virtual bool CanChange();
  virtual void Change();

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void UpdateTabs();
  void PlacePages();
  // The user clicked the tab of Page.
  void TabClicked(TTabSheet* Page);
  int TabHeight() const;
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  int FSyncing = 0;
};

// Registers the classes above for stored descriptions.
void RegisterComCtrlsClasses();
