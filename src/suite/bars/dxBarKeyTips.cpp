#include "suite/bars/dxBarKeyTips.h"

#include "platform/gui/Menus.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"

namespace {

size_t Utf8Length(unsigned char Lead) {
  if (Lead >= 0xF0) return 4;
  if (Lead >= 0xE0) return 3;
  if (Lead >= 0xC0) return 2;
  return 1;
}

// The number k + 1 padded with zeros to as many digits as Count has.
std::string CollisionSuffix(size_t K, size_t Count) {
  std::string n = std::to_string(K + 1);
  size_t width = std::to_string(Count).size();
  return std::string(width > n.size() ? width - n.size() : 0, '0') + n;
}

bool StartsWith(const std::string& S, const std::string& Prefix) {
  return S.size() >= Prefix.size() && S.compare(0, Prefix.size(), Prefix) == 0;
}

}  // namespace

void TdxBarKeyTipData::ShowKeyTipWindow(IdxBarKeyTipWindowsManager* WindowsManager) {
  if (FWindow || !WindowsManager) return;
  FWindow = WindowsManager->AddWindow(UpperKeyTip(), Info.BasePoint, Info.HorzAlign, Info.VertAlign,
                                      Info.Enabled);
}

void TdxBarKeyTipData::HideTipWindow(IdxBarKeyTipWindowsManager* WindowsManager) {
  if (!FWindow) return;
  TObject* w = FWindow;
  FWindow = nullptr;
  if (WindowsManager) WindowsManager->RemoveWindow(w);
}

std::string TdxBarKeyTipData::UpperKeyTip() const { return AnsiUpperCase(Info.KeyTip); }

int MakeKeyTipsUnique(TdxBarKeyTipDataList& List) {
  int passes = 0;
  bool changed = true;
  while (changed && passes < dxBarKeyTipMaxPasses) {
    changed = false;
    ++passes;
    const size_t n = List.size();
    for (size_t i = 0; i < n; ++i) {
      const std::string tip = List[i]->UpperKeyTip();
      std::vector<size_t> same;
      for (size_t j = 0; j < n; ++j)
        if (List[j]->UpperKeyTip() == tip) same.push_back(j);
      if (same.size() >= 2) {
        for (size_t k = 0; k < same.size(); ++k) List[same[k]]->Info.KeyTip += CollisionSuffix(k, same.size());
        changed = true;
        continue;
      }
      for (size_t j = 0; j < n; ++j)
        if (j != i && StartsWith(List[j]->UpperKeyTip(), tip)) {
          List[i]->Info.KeyTip += CollisionSuffix(0, 1);
          changed = true;
          break;
        }
    }
  }
  return passes;
}

int AcceleratorCharPosition(std::string& Caption, bool Strip) {
  int result = 0;
  size_t i = 0;
  while (i + 1 < Caption.size()) {
    if (Caption[i] == '&') {
      if (Strip)
        Caption.erase(i, 1);
      else
        ++i;
      if (i < Caption.size() && Caption[i] != '&') result = int(i) + 1;
    }
    ++i;
  }
  return result;
}

std::string CutKeyTip(const std::string& Text) {
  size_t at = 0;
  for (size_t chars = 0; at < Text.size() && chars < dxBarKeyTipMaxLength; ++chars)
    at += Utf8Length(static_cast<unsigned char>(Text[at]));
  return Text.substr(0, at);
}

std::string GeneratedItemKeyTip(TShortCut ShortCut, const std::string& Caption) {
  if (ShortCut >= 0x4041 && ShortCut <= 0x405A) {
    std::string text = ShortCutToText(ShortCut);
    if (!text.empty()) return text.substr(text.size() - 1);
  }
  std::string caption = Caption;
  if (int pos = AcceleratorCharPosition(caption, false); pos > 0) {
    size_t at = size_t(pos - 1);
    return AnsiUpperCase(caption.substr(at, Utf8Length(static_cast<unsigned char>(caption[at]))));
  }
  return "Y";
}

bool IsCharacterKey(WORD Key) {
  UINT c = MapVirtualKey(Key, MAPVK_VK_TO_CHAR) & 0x7FFFFFFF;
  return c != 0 && c != ' ' && c < 0x10000 && c > 31 && c != 127;
}
