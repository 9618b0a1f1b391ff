#pragma once
// The registry of navigation-bar views: view id -> name and painter class, kept sorted by id.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/System.h"

class TdxCustomNavBar;
class TdxNavBarPainter;

// A painter class: its registered class information and a maker for a given bar.
struct TdxNavBarPainterClassRec {
  const TClassInfo* Info = nullptr;
  std::function<TdxNavBarPainter*(TdxCustomNavBar* NavBar)> Create;
  explicit operator bool() const { return static_cast<bool>(Create); }
};
using TdxNavBarPainterClass = const TdxNavBarPainterClassRec*;

// The painter class of T (registered once, with its parent P in the class registry).
template <class T, class P>
TdxNavBarPainterClass NavBarPainterClassOf() {
  static const TdxNavBarPainterClassRec rec{
      &RegisterClass<T, P>(), [](TdxCustomNavBar* NavBar) -> TdxNavBarPainter* { return new T(NavBar); }};
  return &rec;
}

class TdxNavBarPainterFactItem : public TObject {
 public:
  TdxNavBarPainterFactItem(int32_t AId, std::string AName, TdxNavBarPainterClass APainterClass)
      : Id(AId), Name(std::move(AName)), PainterClass(APainterClass) {}
  int32_t Id;
  std::string Name;
  TdxNavBarPainterClass PainterClass;
};

class TdxNavBarViewsFactory : public TObject {
 public:
  // Raises Exception "ID of view = %d is already exists." for an id already there.
  void RegisterView(int32_t AId, const std::string& AName, TdxNavBarPainterClass APainterClass);
  void UnregisterView(int32_t AId);

  int Count() const { return int(FItems.size()); }
  bool IsValidIndex(int Index) const { return Index >= 0 && Index < Count(); }
  int32_t IdAt(int Index) const { return IsValidIndex(Index) ? FItems[Index]->Id : -1; }
  std::string NameAt(int Index) const { return IsValidIndex(Index) ? FItems[Index]->Name : std::string(); }
  TdxNavBarPainterClass PainterClassAt(int Index) const {
    return IsValidIndex(Index) ? FItems[Index]->PainterClass : nullptr;
  }
  int IndexOfId(int32_t AId) const;
  bool HasView(int32_t AId) const { return IndexOfId(AId) != -1; }

 private:
  std::vector<std::unique_ptr<TdxNavBarPainterFactItem>> FItems;
};

// The process's registry, made on first use; null once the unit was finalized.
TdxNavBarViewsFactory* ViewsFactory();
void RegisterView(int32_t AId, const std::string& AName, TdxNavBarPainterClass APainterClass);
void UnregisterView(int32_t AId);

void dxNavBarViewsFactFinalize();
