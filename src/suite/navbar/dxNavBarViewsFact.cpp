#include "suite/navbar/dxNavBarViewsFact.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "suite/core/cxClasses.h"
#include "suite/navbar/dxNavBarConsts.h"

namespace {
std::unique_ptr<TdxNavBarViewsFactory> gFactory;
bool gFinalized = false;
}  // namespace

void TdxNavBarViewsFactory::RegisterView(int32_t AId, const std::string& AName, TdxNavBarPainterClass APainterClass) {
  if (IndexOfId(AId) != -1) throw Exception(Format(LoadLocalizableResString(&sdxViewAlreadyExists), {AId}));
  FItems.push_back(std::make_unique<TdxNavBarPainterFactItem>(AId, AName, APainterClass));
  std::stable_sort(FItems.begin(), FItems.end(), [](const auto& A, const auto& B) { return A->Id < B->Id; });
}

void TdxNavBarViewsFactory::UnregisterView(int32_t AId) {
  int i = IndexOfId(AId);
  if (i != -1) FItems.erase(FItems.begin() + i);
}

int TdxNavBarViewsFactory::IndexOfId(int32_t AId) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i]->Id == AId) return i;
  return -1;
}

TdxNavBarViewsFactory* ViewsFactory() {
  if (!gFactory && !gFinalized) gFactory = std::make_unique<TdxNavBarViewsFactory>();
  return gFactory.get();
}

void RegisterView(int32_t AId, const std::string& AName, TdxNavBarPainterClass APainterClass) {
  if (TdxNavBarViewsFactory* f = ViewsFactory()) f->RegisterView(AId, AName, APainterClass);
}

void UnregisterView(int32_t AId) {
  if (gFactory) gFactory->UnregisterView(AId);
}

void dxNavBarViewsFactFinalize() {
  gFactory.reset();
  gFinalized = true;
}
