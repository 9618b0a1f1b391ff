#pragma once
// Where each kind of suite dialog was last shown and how large it was, for the run of the
// program (nothing is written to disk), so that it reopens in the same place.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <typeindex>

#include "platform/gui/Controls.h"
#include "suite/core/cxClasses.h"

// A dialog that keeps extra data with its metrics.
class IcxDialogMetricsData {
 public:
  virtual ~IcxDialogMetricsData() = default;
  virtual const void* GetData() = 0;
  virtual int GetDataSize() = 0;
  virtual void SetData(const void* Data) = 0;
};

// The form properties the store reads and sets beyond a control's bounds. The forms library
// installs its own with SetDialogFormAccess; until then every dialog is a sizeable, normal
// window and the position choice is only recorded.
struct TcxDialogFormAccess {
  // The platform's TPosition numbers: 0 poDesigned ... 6 poMainFormCenter.
  std::function<int(TWinControl*)> Position;
  std::function<void(TWinControl*, int)> SetPosition;
  std::function<bool(TWinControl*)> Maximized;
  std::function<void(TWinControl*)> Maximize;
  // bsSizeable or bsSizeToolWin.
  std::function<bool(TWinControl*)> Sizeable;
};
void SetDialogFormAccess(TcxDialogFormAccess Access);
const TcxDialogFormAccess& DialogFormAccess();

constexpr int cxPositionDesigned = 0;
constexpr int cxPositionMainFormCenter = 6;

class TcxDialogMetricsInfo : public TObject {
 public:
  explicit TcxDialogMetricsInfo(TWinControl* AForm);
  ~TcxDialogMetricsInfo() override;
  void Apply(TWinControl* AForm);
  void Capture(TWinControl* AForm);

  int32_t ClientHeight = 0;
  int32_t ClientWidth = 0;
  void* Data = nullptr;
  std::type_index FormClass = typeid(void);
  int32_t Left = 0;
  int32_t Top = 0;
  bool Maximized = false;

 private:
  void FreeData();
};

class TcxDialogsMetricsStore : public TObject {
 public:
  void ApplyToForm(TWinControl* AForm);
  void CaptureFromForm(TWinControl* AForm);
  int DefaultPosition() const { return FDefaultPosition; }
  void SetDefaultPosition(int Value) { FDefaultPosition = Value; }
  int Count() const { return FItems.Count(); }

 protected:
  virtual TcxDialogMetricsInfo* CreateInfo(TWinControl* AForm);

 private:
  int FindInfoByClass(const std::type_index& Class) const;
  TcxObjectList FItems{true};
  int FDefaultPosition = cxPositionMainFormCenter;
};

// The one store of the process, made on first use and freed with the classes unit.
TcxDialogsMetricsStore* SharedDialogsMetricsStore();
void FreeSharedDialogsMetricsStore();
