// TStrings and TStringList.
#include <algorithm>
#include <numeric>

#include "platform/rtl/Classes.h"

void TStrings::Error(const std::string& Msg, int Data) const {
  throw EStringListError(Format(Msg, {Data}));
}

void TStrings::SetStrings(int Index, const std::string& S) {
  TObject* obj = Objects(Index);
  Delete(Index);
  InsertObject(Index, S, obj);
}

int TStrings::Add(const std::string& S) {
  int i = Count();
  Insert(i, S);
  return i;
}

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int i = Add(S);
  SetObjects(i, AObject);
  return i;
}

void TStrings::AddStrings(const TStrings* Strings) {
  BeginUpdate();
  try {
    for (int i = 0; i < Strings->Count(); ++i) AddObject(Strings->Strings(i), Strings->Objects(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::AddStrings(std::initializer_list<std::string> Strings) {
  BeginUpdate();
  try {
    for (const auto& s : Strings) Add(s);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  Insert(Index, S);
  SetObjects(Index, AObject);
}

void TStrings::Exchange(int Index1, int Index2) {
  BeginUpdate();
  try {
    std::string s = Strings(Index1);
    TObject* o = Objects(Index1);
    SetStrings(Index1, Strings(Index2));
    SetObjects(Index1, Objects(Index2));
    SetStrings(Index2, s);
    SetObjects(Index2, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  BeginUpdate();
  try {
    std::string s = Strings(CurIndex);
    TObject* o = Objects(CurIndex);
    SetObjects(CurIndex, nullptr);
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(const std::string& S1, const std::string& S2) const {
  return AnsiCompareText(S1, S2);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < Count(); ++i)
    if (CompareStrings(Strings(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i) {
    std::string s = Strings(i);
    std::size_t p = s.find(FNameValueSeparator);
    if (p != std::string::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < Count(); ++i)
    if (Objects(i) == AObject) return i;
  return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (Count() != Strings->Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (this->Strings(i) != Strings->Strings(i)) return false;
  return true;
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TStrings*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      FNameValueSeparator = src->FNameValueSeparator;
      FDelimiter = src->FDelimiter;
      FQuoteChar = src->FQuoteChar;
      FStrictDelimiter = src->FStrictDelimiter;
      AddStrings(src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

std::string TStrings::Names(int Index) const {
  std::string s = Strings(Index);
  std::size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::Values(const std::string& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValues(const std::string& Name, const std::string& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string entry = Name + FNameValueSeparator + Value;
  if (i < 0)
    Add(entry);
  else
    SetStrings(i, entry);
}

std::string TStrings::ValueFromIndex(int Index) const {
  std::string s = Strings(Index);
  std::size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const std::string& Value) {
  if (Value.empty()) {
    Delete(Index);
    return;
  }
  std::string name = Index >= 0 ? Names(Index) : std::string();
  if (Index < 0) Index = Add("");
  SetStrings(Index, name + FNameValueSeparator + Value);
}

std::string TStrings::Text() const {
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    r += Strings(i);
    r += sLineBreak;
  }
  return r;
}

void TStrings::SetText(const std::string& Value) {
  BeginUpdate();
  try {
    Clear();
    std::size_t i = 0;
    const std::size_t n = Value.size();
    while (i < n) {
      std::size_t j = i;
      while (j < n && Value[j] != '\n' && Value[j] != '\r') ++j;
      Add(Value.substr(i, j - i));
      if (j < n && Value[j] == '\r') ++j;
      if (j < n && Value[j] == '\n') ++j;
      i = j;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::QuotedItems(char delimiter, char quote, bool strict) const {
  if (Count() == 1 && Strings(0).empty()) return std::string(2, quote);
  std::string r;
  for (int i = 0; i < Count(); ++i) {
    if (i) r += delimiter;
    std::string s = Strings(i);
    bool needsQuotes = std::any_of(s.begin(), s.end(), [&](char c) {
      return c == delimiter || c == quote || c == '\0' || (!strict && (unsigned char)c <= ' ');
    });
    if (!needsQuotes) {
      r += s;
      continue;
    }
    r += quote;
    for (char c : s) {
      if (c == quote) r += quote;
      r += c;
    }
    r += quote;
  }
  return r;
}

void TStrings::ParseItems(const std::string& value, char delimiter, char quote, bool strict) {
  BeginUpdate();
  try {
    Clear();
    const std::size_t n = value.size();
    std::size_t i = 0;
    auto blank = [&](std::size_t k) {
      return !strict && k < n && value[k] != '\0' && (unsigned char)value[k] <= ' ';
    };
    while (blank(i)) ++i;
    while (i < n) {
      std::string s;
      if (value[i] == quote) {
        // Quoted: doubled quotes stand for one; the text runs to the closing quote.
        ++i;
        while (i < n) {
          if (value[i] == quote) {
            if (i + 1 < n && value[i + 1] == quote) {
              s += quote;
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          s += value[i++];
        }
      } else {
        std::size_t start = i;
        while (i < n && value[i] != delimiter && (strict || (unsigned char)value[i] > ' ')) ++i;
        s = value.substr(start, i - start);
      }
      Add(s);
      while (blank(i)) ++i;
      if (i < n && value[i] == delimiter) {
        if (i + 1 == n) Add("");
        ++i;
        while (blank(i)) ++i;
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::DelimitedText() const {
  return QuotedItems(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const std::string& Value) {
  ParseItems(Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

std::string TStrings::CommaText() const { return QuotedItems(',', '"', false); }

void TStrings::SetCommaText(const std::string& Value) { ParseItems(Value, ',', '"', false); }

void TStrings::BeginUpdate() {
  // The state changes while the count is still 0, so a list's OnChanging fires once here.
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&f);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream f(FileName, fmCreate);
  SaveToStream(&f);
}

void TStrings::LoadFromStream(TStream* Stream) {
  int64_t size = Stream->Size() - Stream->Position();
  std::string text(std::size_t(std::max<int64_t>(size, 0)), '\0');
  text.resize(std::size_t(Stream->Read(text.data(), int64_t(text.size()))));
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  SetText(text);
}

void TStrings::SaveToStream(TStream* Stream) const {
  std::string text = Text();
  Stream->WriteBuffer(text.data(), int64_t(text.size()));
}

// ---------------------------------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (auto& item : FList) delete item.FObject;
}

void TStringList::CheckIndex(int Index) const {
  if (Index < 0 || Index >= Count()) Error("List index out of bounds (%d)", Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

int TStringList::CompareStrings(const std::string& S1, const std::string& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

std::string TStringList::Strings(int Index) const {
  CheckIndex(Index);
  return FList[std::size_t(Index)].FString;
}

void TStringList::SetStrings(int Index, const std::string& S) {
  if (FSorted) Error("Operation not allowed on sorted list", 0);
  CheckIndex(Index);
  Changing();
  FList[std::size_t(Index)].FString = S;
  Changed();
}

TObject* TStringList::Objects(int Index) const {
  CheckIndex(Index);
  return FList[std::size_t(Index)].FObject;
}

void TStringList::SetObjects(int Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  TObject*& slot = FList[std::size_t(Index)].FObject;
  if (FOwnsObjects && slot != AObject) delete slot;
  slot = AObject;
  Changed();
}

int TStringList::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  int index;
  if (!FSorted) {
    index = Count();
  } else if (Find(S, index)) {
    switch (FDuplicates) {
      case dupIgnore:
        return index;
      case dupError:
        Error("String list does not allow duplicates", 0);
      case dupAccept:
        // After its equals, so that equal strings keep the order they were added in.
        while (index < Count() && CompareStrings(FList[std::size_t(index)].FString, S) == 0)
          ++index;
        break;
    }
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  if (FSorted) Error("Operation not allowed on sorted list", 0);
  if (Index < 0 || Index > Count()) Error("List index out of bounds (%d)", Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index);
  Changing();
  TObject* obj = FList[std::size_t(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> old;
  old.swap(FList);
  if (FOwnsObjects)
    for (auto& item : old) delete item.FObject;
  Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
  if (FSorted) Error("Operation not allowed on sorted list", 0);
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[std::size_t(Index1)], FList[std::size_t(Index2)]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (FSorted) Error("Operation not allowed on sorted list", 0);
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Changing();
  TStringItem item = std::move(FList[std::size_t(CurIndex)]);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, std::move(item));
  Changed();
}

bool TStringList::Find(const std::string& S, int& Index) const {
  if (!FSorted) {
    Index = IndexOf(S);
    if (Index >= 0) return true;
    Index = Count();
    return false;
  }
  // The first of equal strings, so that IndexOf finds the earliest.
  int lo = 0, hi = Count();
  while (lo < hi) {
    int mid = (lo + hi) / 2;
    if (CompareStrings(FList[std::size_t(mid)].FString, S) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  Index = lo;
  return lo < Count() && CompareStrings(FList[std::size_t(lo)].FString, S) == 0;
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int i;
  return Find(S, i) ? i : -1;
}

void TStringList::Sort() {
  CustomSort([](TStringList* list, int a, int b) {
    return list->CompareStrings(list->FList[std::size_t(a)].FString,
                                list->FList[std::size_t(b)].FString);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  if (Count() < 2) return;
  Changing();
  // The comparer sees indexes into the list as it stands, so sort a permutation.
  std::vector<int> order(FList.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return Compare(this, a, b) < 0; });
  std::vector<TStringItem> sorted;
  sorted.reserve(FList.size());
  for (int i : order) sorted.push_back(std::move(FList[std::size_t(i)]));
  FList.swap(sorted);
  Changed();
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}
