#include "suite/core/cxDialogMetrics.h"

#include <cstdlib>
#include <cstring>

namespace {

TcxDialogsMetricsStore* gStore = nullptr;

}  // namespace

TcxDialogMetricsInfo::TcxDialogMetricsInfo(TCustomForm* AForm) { Capture(AForm); }

TcxDialogMetricsInfo::~TcxDialogMetricsInfo() { FreeData(); }

void TcxDialogMetricsInfo::FreeData() {
  std::free(Data);
  Data = nullptr;
}

void TcxDialogMetricsInfo::Apply(TCustomForm* AForm) {
  if (Maximized) {
    AForm->SetWindowState(wsMaximized);
  } else {
    AForm->SetLeft(Left);
    AForm->SetTop(Top);
    if (AForm->BorderStyle() == bsSizeable || AForm->BorderStyle() == bsSizeToolWin)
      AForm->SetClientSize(ClientWidth, ClientHeight);
  }
  if (auto* d = dynamic_cast<IcxDialogMetricsData*>(AForm); d && Data) d->SetData(Data);
}

void TcxDialogMetricsInfo::Capture(TCustomForm* AForm) {
  FormClass = typeid(*AForm);
  Left = AForm->Left();
  Top = AForm->Top();
  ClientHeight = AForm->ClientHeight();
  ClientWidth = AForm->ClientWidth();
  Maximized = AForm->WindowState() == wsMaximized;
  FreeData();
  if (auto* d = dynamic_cast<IcxDialogMetricsData*>(AForm)) {
    int size = d->GetDataSize();
    if (size > 0) {
      Data = std::malloc(std::size_t(size));
      std::memcpy(Data, d->GetData(), std::size_t(size));
    }
  }
}

TcxDialogMetricsInfo* TcxDialogsMetricsStore::CreateInfo(TCustomForm* AForm) {
  return new TcxDialogMetricsInfo(AForm);
}

int TcxDialogsMetricsStore::FindInfoByClass(const std::type_index& Class) const {
  for (int i = FItems.Count() - 1; i >= 0; --i)
    if (FItems.Get<TcxDialogMetricsInfo>(i)->FormClass == Class) return i;
  return -1;
}

void TcxDialogsMetricsStore::ApplyToForm(TCustomForm* AForm) {
  if (!AForm) return;
  int i = FindInfoByClass(typeid(*AForm));
  if (i >= 0) {
    AForm->SetPosition(poDesigned);
    FItems.Get<TcxDialogMetricsInfo>(i)->Apply(AForm);
  } else {
    AForm->SetPosition(FDefaultPosition);
    FItems.Add(CreateInfo(AForm));
  }
}

void TcxDialogsMetricsStore::CaptureFromForm(TCustomForm* AForm) {
  if (!AForm) return;
  int i = FindInfoByClass(typeid(*AForm));
  if (i >= 0) FItems.Get<TcxDialogMetricsInfo>(i)->Capture(AForm);
}

TcxDialogsMetricsStore* SharedDialogsMetricsStore() {
  if (!gStore) gStore = new TcxDialogsMetricsStore;
  return gStore;
}

void FreeSharedDialogsMetricsStore() { FreeAndClearObject(gStore); }
