#pragma once
// Where each kind of suite dialog was last shown and how large it was, for the run of the
// program (nothing is written to disk), so that it reopens in the same place.

#include <cstdint>
#include <functional>
#include <typeindex>

#include "platform/gui/CustomForms.h"
#include "suite/core/cxClasses.h"

// A dialog that keeps extra data with its metrics.
class IcxDialogMetricsData {
 public:
  virtual ~IcxDialogMetricsData() = default;
  virtual const void* GetData() = 0;
  virtual int GetDataSize() = 0;
  virtual void SetData(const void* Data) = 0;
};

class TcxDialogMetricsInfo : public TObject {
 public:
  explicit TcxDialogMetricsInfo(TCustomForm* AForm);
  ~TcxDialogMetricsInfo() override;
  void Apply(TCustomForm* AForm);
  void Capture(TCustomForm* AForm);

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
  void ApplyToForm(TCustomForm* AForm);
  void CaptureFromForm(TCustomForm* AForm);
  TPosition DefaultPosition() const { return FDefaultPosition; }
  void SetDefaultPosition(TPosition Value) { FDefaultPosition = Value; }
  int Count() const { return FItems.Count(); }

 protected:
  virtual TcxDialogMetricsInfo* CreateInfo(TCustomForm* AForm);

 private:
  int FindInfoByClass(const std::type_index& Class) const;
  TcxObjectList FItems{true};
  TPosition FDefaultPosition = poMainFormCenter;
};

// The one store of the process, made on first use and freed with the classes unit.
TcxDialogsMetricsStore* SharedDialogsMetricsStore();
void FreeSharedDialogsMetricsStore();
