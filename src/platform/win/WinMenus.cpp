// Menus as handles into our own table, and the window menu each window with WS_SYSMENU keeps.
// Nothing here shows a menu: the libraries above read menus and draw them themselves.

#include <algorithm>
#include <cstring>
#include <map>

#include "platform/win/WinInternal.h"

namespace {

struct TMenuEntry {
  UINT Type = MFT_STRING;
  UINT State = 0;
  UINT Id = 0;
  HMENU Sub = nullptr;
  HBITMAP Checked = nullptr;
  HBITMAP Unchecked = nullptr;
  HBITMAP Item = nullptr;
  ULONG_PTR Data = 0;
  std::string Text;
};

struct TMenuObject {
  std::vector<TMenuEntry> Entries;
};

std::map<uintptr_t, TMenuObject> gMenus;
uintptr_t gNextMenu = 0x2000;

TMenuObject* FindMenu(HMENU h) {
  auto it = gMenus.find(reinterpret_cast<uintptr_t>(h));
  return it == gMenus.end() ? nullptr : &it->second;
}

HMENU NewMenu() {
  uintptr_t id = gNextMenu++;
  gMenus[id];
  return reinterpret_cast<HMENU>(id);
}

// The entry with the command (searching sub-menus too) or at the position, with its menu.
struct TFound {
  TMenuObject* Menu = nullptr;
  size_t Index = 0;
  TMenuEntry* Entry() const { return Menu ? &Menu->Entries[Index] : nullptr; }
};

TFound FindByCommand(TMenuObject* m, UINT id, int depth = 0) {
  if (!m || depth > 16) return {};
  for (size_t i = 0; i < m->Entries.size(); ++i) {
    TMenuEntry& e = m->Entries[i];
    if (!e.Sub && !(e.Type & MFT_SEPARATOR) && e.Id == id) return {m, i};
    if (e.Sub) {
      if (TFound f = FindByCommand(FindMenu(e.Sub), id, depth + 1); f.Menu) return f;
      if (e.Id == id) return {m, i};
    }
  }
  return {};
}

TFound FindEntry(HMENU h, UINT item, bool byPosition) {
  TMenuObject* m = FindMenu(h);
  if (!m) return {};
  if (byPosition) return item < m->Entries.size() ? TFound{m, item} : TFound{};
  return FindByCommand(m, item);
}

void CopyText(const std::string& text, char* buffer, UINT& cch) {
  if (!buffer || cch == 0) {
    cch = UINT(text.size());
    return;
  }
  size_t n = std::min<size_t>(text.size(), cch - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  cch = UINT(n);
}

// A structure from before the item bitmap was added stops short of it.
bool HasItemBitmap(const MENUITEMINFO* mii) {
  return mii->cbSize >= offsetof(MENUITEMINFO, hbmpItem) + sizeof(HBITMAP);
}

void ApplyInfo(TMenuEntry& e, const MENUITEMINFO* mii) {
  const UINT mask = mii->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) e.Type = mii->fType;
  if ((mask & MIIM_TYPE) && !(e.Type & (MFT_SEPARATOR | MFT_BITMAP)))
    e.Text = mii->dwTypeData ? mii->dwTypeData : "";
  if ((mask & MIIM_TYPE) && (e.Type & MFT_BITMAP))
    e.Item = reinterpret_cast<HBITMAP>(reinterpret_cast<uintptr_t>(mii->dwTypeData) & 0xFFFF);
  if (mask & MIIM_STRING) e.Text = mii->dwTypeData ? mii->dwTypeData : "";
  if (mask & MIIM_STATE) e.State = mii->fState;
  if (mask & MIIM_ID) e.Id = mii->wID;
  if (mask & MIIM_SUBMENU) e.Sub = mii->hSubMenu;
  if (mask & MIIM_CHECKMARKS) {
    e.Checked = mii->hbmpChecked;
    e.Unchecked = mii->hbmpUnchecked;
  }
  if (mask & MIIM_DATA) e.Data = mii->dwItemData;
  if ((mask & MIIM_BITMAP) && HasItemBitmap(mii)) e.Item = mii->hbmpItem;
}

// The window menu's standard entries: the commands, their texts and item bitmaps. A child
// window (an MDI document) closes with Ctrl+F4 and moves on to the next with Ctrl+F6.
void FillSystemMenu(HMENU menu, bool child) {
  struct TStandard {
    WPARAM Command;
    const char* Text;
    HBITMAP Bitmap;
  };
  const TStandard entries[] = {
      {SC_RESTORE, "&Restore", HBMMENU_POPUP_RESTORE},
      {SC_MOVE, "&Move", nullptr},
      {SC_SIZE, "&Size", nullptr},
      {SC_MINIMIZE, "Mi&nimize", HBMMENU_POPUP_MINIMIZE},
      {SC_MAXIMIZE, "Ma&ximize", HBMMENU_POPUP_MAXIMIZE},
      {0, nullptr, nullptr},
      {SC_CLOSE, child ? "&Close\tCtrl+F4" : "&Close\tAlt+F4", HBMMENU_POPUP_CLOSE},
  };
  auto add = [menu](WPARAM command, const char* text, HBITMAP bitmap) {
    MENUITEMINFO mii;
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_STATE;
    mii.fType = text ? MFT_STRING : MFT_SEPARATOR;
    mii.wID = UINT(command);
    mii.dwTypeData = const_cast<char*>(text);
    mii.hbmpItem = bitmap;
    mii.fState = command == SC_CLOSE ? MFS_DEFAULT : 0;
    InsertMenuItem(menu, UINT(GetMenuItemCount(menu)), TRUE, &mii);
  };
  for (const TStandard& e : entries) add(e.Command, e.Text, e.Bitmap);
  if (child) {
    add(0, nullptr, nullptr);
    add(SC_NEXTWINDOW, "Nex&t\tCtrl+F6", nullptr);
  }
}

// Greys what the window's state and frame leave no room for. The other entries (Close, Next
// and what the program added) keep whatever the program set.
void UpdateSystemMenu(HMENU menu, const TWindowObject* w) {
  const bool iconic = IsIconic(w->Handle), zoomed = IsZoomed(w->Handle);
  const DWORD style = w->Style;
  auto set = [menu](WPARAM command, bool enabled) {
    EnableMenuItem(menu, UINT(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  };
  set(SC_RESTORE, iconic || zoomed);
  set(SC_MOVE, !zoomed);
  set(SC_SIZE, (style & WS_THICKFRAME) && !iconic && !zoomed);
  set(SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !iconic);
  set(SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !zoomed);
}

}  // namespace

HMENU CreateMenu() { return NewMenu(); }

HMENU CreatePopupMenu() { return NewMenu(); }

BOOL DestroyMenu(HMENU hMenu) {
  auto it = gMenus.find(reinterpret_cast<uintptr_t>(hMenu));
  if (it == gMenus.end()) return FALSE;
  std::vector<TMenuEntry> entries = std::move(it->second.Entries);
  gMenus.erase(it);
  for (const TMenuEntry& e : entries)
    if (e.Sub) DestroyMenu(e.Sub);
  return TRUE;
}

BOOL IsMenu(HMENU hMenu) { return FindMenu(hMenu) ? TRUE : FALSE; }

BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, const char* lpNewItem) {
  TMenuObject* m = FindMenu(hMenu);
  if (!m) return FALSE;
  TMenuEntry e;
  e.State = uFlags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_DEFAULT);
  if (uFlags & MF_SEPARATOR) {
    e.Type = MFT_SEPARATOR;
  } else if (uFlags & MF_BITMAP) {
    e.Type = MFT_BITMAP;
    e.Item = reinterpret_cast<HBITMAP>(const_cast<char*>(lpNewItem));
  } else {
    e.Text = lpNewItem ? lpNewItem : "";
  }
  if (uFlags & MF_POPUP) e.Sub = reinterpret_cast<HMENU>(uIDNewItem);
  else e.Id = UINT(uIDNewItem);
  m->Entries.push_back(std::move(e));
  return TRUE;
}

BOOL InsertMenuItem(HMENU hMenu, UINT item, BOOL fByPosition, const MENUITEMINFO* lpmii) {
  TMenuObject* m = FindMenu(hMenu);
  if (!m || !lpmii) return FALSE;
  size_t at = m->Entries.size();
  if (fByPosition) {
    at = std::min<size_t>(item, m->Entries.size());
  } else if (TFound f = FindByCommand(m, item); f.Menu == m) {
    at = f.Index;
  }
  TMenuEntry e;
  ApplyInfo(e, lpmii);
  m->Entries.insert(m->Entries.begin() + std::ptrdiff_t(at), std::move(e));
  return TRUE;
}

BOOL SetMenuItemInfo(HMENU hMenu, UINT item, BOOL fByPosition, const MENUITEMINFO* lpmii) {
  TFound f = FindEntry(hMenu, item, fByPosition);
  if (!f.Menu || !lpmii) return FALSE;
  ApplyInfo(*f.Entry(), lpmii);
  return TRUE;
}

BOOL GetMenuItemInfo(HMENU hMenu, UINT item, BOOL fByPosition, MENUITEMINFO* lpmii) {
  TFound f = FindEntry(hMenu, item, fByPosition);
  if (!f.Menu || !lpmii) return FALSE;
  const TMenuEntry& e = *f.Entry();
  const UINT mask = lpmii->fMask;
  if (mask & (MIIM_TYPE | MIIM_FTYPE)) lpmii->fType = e.Type;
  if (mask & MIIM_STATE) lpmii->fState = e.State;
  if (mask & MIIM_ID) lpmii->wID = e.Id;
  if (mask & MIIM_SUBMENU) lpmii->hSubMenu = e.Sub;
  if (mask & MIIM_CHECKMARKS) {
    lpmii->hbmpChecked = e.Checked;
    lpmii->hbmpUnchecked = e.Unchecked;
  }
  if (mask & MIIM_DATA) lpmii->dwItemData = e.Data;
  // The old type query also answers the item bitmap when the structure has room for it.
  if ((mask & MIIM_TYPE) && (e.Type & MFT_BITMAP))
    lpmii->dwTypeData = reinterpret_cast<char*>(e.Item);
  else if ((mask & (MIIM_TYPE | MIIM_STRING)) && !(e.Type & MFT_SEPARATOR))
    CopyText(e.Text, lpmii->dwTypeData, lpmii->cch);
  if ((mask & (MIIM_BITMAP | MIIM_TYPE)) && HasItemBitmap(lpmii)) lpmii->hbmpItem = e.Item;
  return TRUE;
}

BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
  TFound f = FindEntry(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
  if (!f.Menu) return FALSE;
  f.Menu->Entries.erase(f.Menu->Entries.begin() + std::ptrdiff_t(f.Index));
  return TRUE;
}

BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
  TFound f = FindEntry(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0);
  if (!f.Menu) return FALSE;
  HMENU sub = f.Entry()->Sub;
  f.Menu->Entries.erase(f.Menu->Entries.begin() + std::ptrdiff_t(f.Index));
  if (sub) DestroyMenu(sub);
  return TRUE;
}

int GetMenuItemCount(HMENU hMenu) {
  TMenuObject* m = FindMenu(hMenu);
  return m ? int(m->Entries.size()) : -1;
}

UINT GetMenuItemID(HMENU hMenu, int nPos) {
  TFound f = FindEntry(hMenu, UINT(nPos), true);
  if (!f.Menu || nPos < 0) return 0xFFFFFFFF;
  return f.Entry()->Sub ? 0xFFFFFFFF : f.Entry()->Id;
}

HMENU GetSubMenu(HMENU hMenu, int nPos) {
  TFound f = FindEntry(hMenu, UINT(nPos), true);
  return f.Menu && nPos >= 0 ? f.Entry()->Sub : nullptr;
}

UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
  TFound f = FindEntry(hMenu, uId, (uFlags & MF_BYPOSITION) != 0);
  if (!f.Menu) return 0xFFFFFFFF;
  const TMenuEntry& e = *f.Entry();
  UINT state = e.State | e.Type;
  if (e.Sub) {
    TMenuObject* sub = FindMenu(e.Sub);
    state = (state & 0xFF) | MF_POPUP | (UINT(sub ? sub->Entries.size() : 0) << 8);
  }
  return state;
}

int GetMenuString(HMENU hMenu, UINT uIDItem, char* lpString, int cchMax, UINT flags) {
  TFound f = FindEntry(hMenu, uIDItem, (flags & MF_BYPOSITION) != 0);
  if (!f.Menu) return 0;
  const std::string& text = f.Entry()->Text;
  if (!lpString || cchMax <= 0) return int(text.size());
  UINT cch = UINT(cchMax);
  CopyText(text, lpString, cch);
  return int(cch);
}

DWORD EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
  TFound f = FindEntry(hMenu, uIDEnableItem, (uEnable & MF_BYPOSITION) != 0);
  if (!f.Menu) return 0xFFFFFFFF;
  TMenuEntry& e = *f.Entry();
  DWORD previous = e.State & (MF_GRAYED | MF_DISABLED);
  e.State = (e.State & ~(MF_GRAYED | MF_DISABLED)) | (uEnable & (MF_GRAYED | MF_DISABLED));
  return previous;
}

DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
  TFound f = FindEntry(hMenu, uIDCheckItem, (uCheck & MF_BYPOSITION) != 0);
  if (!f.Menu) return 0xFFFFFFFF;
  TMenuEntry& e = *f.Entry();
  DWORD previous = e.State & MF_CHECKED;
  e.State = (e.State & ~MF_CHECKED) | (uCheck & MF_CHECKED);
  return previous;
}

BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos) {
  TMenuObject* m = FindMenu(hMenu);
  if (!m) return FALSE;
  size_t index = m->Entries.size();
  if (uItem != 0xFFFFFFFF) {
    TFound f = FindEntry(hMenu, uItem, fByPos != 0);
    if (f.Menu != m) return FALSE;
    index = f.Index;
  }
  for (size_t i = 0; i < m->Entries.size(); ++i) {
    if (i == index) m->Entries[i].State |= MFS_DEFAULT;
    else m->Entries[i].State &= ~MFS_DEFAULT;
  }
  return TRUE;
}

UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags) {
  TMenuObject* m = FindMenu(hMenu);
  for (int depth = 0; m && depth < 16; ++depth) {
    auto it = std::find_if(m->Entries.begin(), m->Entries.end(),
                           [](const TMenuEntry& e) { return (e.State & MFS_DEFAULT) != 0; });
    if (it == m->Entries.end()) return 0xFFFFFFFF;
    if ((it->State & MFS_DISABLED) && !(gmdiFlags & GMDI_USEDISABLED)) return 0xFFFFFFFF;
    if (it->Sub && (gmdiFlags & GMDI_GOINTOPOPUPS)) {
      TMenuObject* sub = FindMenu(it->Sub);
      if (sub && std::any_of(sub->Entries.begin(), sub->Entries.end(),
                             [](const TMenuEntry& e) { return (e.State & MFS_DEFAULT) != 0; })) {
        m = sub;
        continue;
      }
    }
    return fByPos ? UINT(it - m->Entries.begin()) : it->Id;
  }
  return 0xFFFFFFFF;
}

HMENU GetSystemMenu(HWND hWnd, BOOL bRevert) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !(w->Style & WS_SYSMENU)) return nullptr;
  if (bRevert) {
    if (w->SystemMenu) DestroyMenu(w->SystemMenu);
    w->SystemMenu = nullptr;
    return nullptr;
  }
  if (!IsMenu(w->SystemMenu)) {
    w->SystemMenu = CreatePopupMenu();
    FillSystemMenu(w->SystemMenu, (w->Style & WS_CHILD) != 0);
  }
  UpdateSystemMenu(w->SystemMenu, w);
  return w->SystemMenu;
}
