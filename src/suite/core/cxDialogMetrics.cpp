#include "suite/core/cxDialogMetrics.h"

#include <cstdlib>
#include <cstring>

namespace {

TcxDialogFormAccess DefaultAccess() {
  TcxDialogFormAccess a;
  auto positions = std::make_shared<std::map<TWinControl*, int>>();
  a.Position = [positions](TWinControl* f) {
    auto it = positions->find(f);
    return it == positions->end() ? cxPositionDesigned : it->second;
  };
  a.SetPosition = [positions](TWinControl* f, int p) { (*positions)[f] = p; };
  a.Maximized = [](TWinControl*) { return false; };
  a.Maximize = [](TWinControl*) {};
  a.Sizeable = [](TWinControl*) { return true; };
  return a;
}

TcxDialogFormAccess& Access() {
  static TcxDialogFormAccess access = DefaultAccess();
  return access;
}

TcxDialogsMetricsStore* gStore = nullptr;

}  // namespace

void SetDialogFormAccess(TcxDialogFormAccess A) { Access() = std::move(A); }
const TcxDialogFormAccess& DialogFormAccess() { return Access(); }

TcxDialogMetricsInfo::TcxDialogMetricsInfo(TWinControl* AForm) { Capture(AForm); }

TcxDialogMetricsInfo::~TcxDialogMetricsInfo() { FreeData(); }

void TcxDialogMetricsInfo::FreeData() {
  std::free(Data);
  Data = nullptr;
}

void TcxDialogMetricsInfo::Apply(TWinControl* AForm) {
  const TcxDialogFormAccess& a = Access();
  if (Maximized) {
    a.Maximize(AForm);
  } else {
    AForm->SetLeft(Left);
    AForm->SetTop(Top);
    if (a.Sizeable(AForm)) AForm->SetClientSize(ClientWidth, ClientHeight);
  }
  if (auto* d = dynamic_cast<IcxDialogMetricsData*>(AForm); d && Data) d->SetData(Data);
}

void TcxDialogMetricsInfo::Capture(TWinControl* AForm) {
  FormClass = typeid(*AForm);
  Left = AForm->Left();
  Top = AForm->Top();
  ClientHeight = AForm->ClientHeight();
  ClientWidth = AForm->ClientWidth();
  Maximized = Access().Maximized(AForm);
  FreeData();
  if (auto* d = dynamic_cast<IcxDialogMetricsData*>(AForm)) {
    int size = d->GetDataSize();
    if (size > 0) {
      Data = std::malloc(std::size_t(size));
      std::memcpy(Data, d->GetData(), std::size_t(size));
    }
  }
}

TcxDialogMetricsInfo* TcxDialogsMetricsStore::CreateInfo(TWinControl* AForm) {
  return new TcxDialogMetricsInfo(AForm);
}

int TcxDialogsMetricsStore::FindInfoByClass(const std::type_index& Class) const {
  for (int i = FItems.Count() - 1; i >= 0; --i)
    if (FItems.Get<TcxDialogMetricsInfo>(i)->FormClass == Class) return i;
  return -1;
}

void TcxDialogsMetricsStore::ApplyToForm(TWinControl* AForm) {
  if (!AForm) return;
  int i = FindInfoByClass(typeid(*AForm));
  if (i >= 0) {
    Access().SetPosition(AForm, cxPositionDesigned);
    FItems.Get<TcxDialogMetricsInfo>(i)->Apply(AForm);
  } else {
    Access().SetPosition(AForm, FDefaultPosition);
    FItems.Add(CreateInfo(AForm));
  }
}

void TcxDialogsMetricsStore::CaptureFromForm(TWinControl* AForm) {
  if (!AForm) return;
  int i = FindInfoByClass(typeid(*AForm));
  if (i >= 0) FItems.Get<TcxDialogMetricsInfo>(i)->Capture(AForm);
}

TcxDialogsMetricsStore* SharedDialogsMetricsStore() {
  if (!gStore) gStore = new TcxDialogsMetricsStore;
  return gStore;
}

void FreeSharedDialogsMetricsStore() { FreeAndClearObject(gStore); }
