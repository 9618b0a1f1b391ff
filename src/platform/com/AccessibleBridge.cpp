#include "platform/com/AccessibleBridge.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <map>
#include <vector>

namespace {

std::map<QObject*, TComPtr<IAccessible>>& Registered() {
  static std::map<QObject*, TComPtr<IAccessible>> map;
  return map;
}

QAccessible::State StateFromBits(LONG Bits) {
  QAccessible::State s;
  s.disabled = (Bits & STATE_SYSTEM_UNAVAILABLE) != 0;
  s.selected = (Bits & STATE_SYSTEM_SELECTED) != 0;
  s.focused = (Bits & STATE_SYSTEM_FOCUSED) != 0;
  s.pressed = (Bits & STATE_SYSTEM_PRESSED) != 0;
  s.checked = (Bits & STATE_SYSTEM_CHECKED) != 0;
  s.checkStateMixed = (Bits & STATE_SYSTEM_MIXED) != 0;
  s.readOnly = (Bits & STATE_SYSTEM_READONLY) != 0;
  s.hotTracked = (Bits & STATE_SYSTEM_HOTTRACKED) != 0;
  s.defaultButton = (Bits & STATE_SYSTEM_DEFAULT) != 0;
  s.expanded = (Bits & STATE_SYSTEM_EXPANDED) != 0;
  s.collapsed = (Bits & STATE_SYSTEM_COLLAPSED) != 0;
  s.busy = (Bits & STATE_SYSTEM_BUSY) != 0;
  s.marqueed = (Bits & STATE_SYSTEM_MARQUEED) != 0;
  s.animated = (Bits & STATE_SYSTEM_ANIMATED) != 0;
  s.invisible = (Bits & STATE_SYSTEM_INVISIBLE) != 0;
  s.offscreen = (Bits & STATE_SYSTEM_OFFSCREEN) != 0;
  s.sizeable = (Bits & STATE_SYSTEM_SIZEABLE) != 0;
  s.movable = (Bits & STATE_SYSTEM_MOVEABLE) != 0;
  s.focusable = (Bits & STATE_SYSTEM_FOCUSABLE) != 0;
  s.selectable = (Bits & STATE_SYSTEM_SELECTABLE) != 0;
  s.linked = (Bits & STATE_SYSTEM_LINKED) != 0;
  s.traversed = (Bits & STATE_SYSTEM_TRAVERSED) != 0;
  s.multiSelectable = (Bits & STATE_SYSTEM_MULTISELECTABLE) != 0;
  s.hasPopup = (Bits & STATE_SYSTEM_HASPOPUP) != 0;
  return s;
}

LONG BitsFromState(const QAccessible::State& s) {
  LONG b = 0;
  if (s.disabled) b |= STATE_SYSTEM_UNAVAILABLE;
  if (s.selected) b |= STATE_SYSTEM_SELECTED;
  if (s.focused) b |= STATE_SYSTEM_FOCUSED;
  if (s.pressed) b |= STATE_SYSTEM_PRESSED;
  if (s.checked) b |= STATE_SYSTEM_CHECKED;
  if (s.invisible) b |= STATE_SYSTEM_INVISIBLE;
  if (s.focusable) b |= STATE_SYSTEM_FOCUSABLE;
  if (s.readOnly) b |= STATE_SYSTEM_READONLY;
  return b;
}

// One IAccessible object, or one simple element of it (a child id above 0), as Qt sees it.
class TBridgeInterface : public QAccessibleInterface {
 public:
  TBridgeInterface(QObject* Object, TComPtr<IAccessible> Acc, LONG Child, QAccessible::Id Parent)
      : FObject(Object), FAcc(std::move(Acc)), FChild(Child), FParent(Parent) {}
  ~TBridgeInterface() override {
    for (QAccessible::Id id : FChildren)
      if (id) QAccessible::deleteAccessibleInterface(id);
  }

  bool isValid() const override { return FAcc && (FParent || !FObject.isNull()); }
  QObject* object() const override { return FObject.data(); }
  QWindow* window() const override {
    QAccessibleInterface* p = parent();
    return p ? p->window() : nullptr;
  }

  QAccessibleInterface* parent() const override {
    if (FParent) return QAccessible::accessibleInterface(FParent);
    if (FObject && FObject->parent()) return QAccessible::queryAccessibleInterface(FObject->parent());
    return nullptr;
  }

  int childCount() const override {
    if (FChild != CHILDID_SELF) return 0;
    LONG n = 0;
    return FAcc->get_accChildCount(&n) == S_OK ? n : 0;
  }

  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    if (FChildren.size() <= size_t(index)) FChildren.resize(size_t(index) + 1, 0);
    if (QAccessible::Id id = FChildren[size_t(index)]) return QAccessible::accessibleInterface(id);
    IDispatch* disp = nullptr;
    HRESULT hr = FAcc->get_accChild(VARIANT::I4(index + 1), &disp);
    TComPtr<IDispatch> holder(disp);
    QAccessibleInterface* iface = nullptr;
    if (hr == S_OK && disp) {
      TComPtr<IAccessible> acc = QueryAs<IAccessible>(disp, IID_IAccessible);
      if (!acc) return nullptr;
      iface = new TBridgeInterface(nullptr, acc, CHILDID_SELF, SelfId());
    } else if (hr == S_FALSE) {
      iface = new TBridgeInterface(nullptr, FAcc, index + 1, SelfId());
    } else {
      return nullptr;
    }
    FChildren[size_t(index)] = QAccessible::registerAccessibleInterface(iface);
    return iface;
  }

  int indexOfChild(const QAccessibleInterface* c) const override {
    for (size_t i = 0; i < FChildren.size(); ++i)
      if (FChildren[i] && QAccessible::accessibleInterface(FChildren[i]) == c) return int(i);
    return -1;
  }

  QAccessibleInterface* childAt(int x, int y) const override {
    if (FChild != CHILDID_SELF) return nullptr;
    VARIANT v;
    if (FAcc->accHitTest(x, y, &v) != S_OK) return nullptr;
    if (v.vt == VT_I4 && v.lVal > 0) return child(v.lVal - 1);
    if (v.vt == VT_DISPATCH)
      for (int i = 0, n = childCount(); i < n; ++i) {
        auto* c = static_cast<TBridgeInterface*>(child(i));
        if (c && c->FChild == CHILDID_SELF &&
            QueryAs<IUnknown>(c->FAcc.get(), IID_IUnknown).get() ==
                QueryAs<IUnknown>(v.pdispVal, IID_IUnknown).get())
          return c;
      }
    return nullptr;
  }

  QString text(QAccessible::Text t) const override {
    std::string s;
    VARIANT self = VARIANT::I4(FChild);
    switch (t) {
      case QAccessible::Name: FAcc->get_accName(self, &s); break;
      case QAccessible::Description: FAcc->get_accDescription(self, &s); break;
      case QAccessible::Value: FAcc->get_accValue(self, &s); break;
      case QAccessible::Help: FAcc->get_accHelp(self, &s); break;
      case QAccessible::Accelerator: FAcc->get_accKeyboardShortcut(self, &s); break;
      default: break;
    }
    return QString::fromStdString(s);
  }

  void setText(QAccessible::Text t, const QString& text) override {
    if (t == QAccessible::Name) FAcc->put_accName(VARIANT::I4(FChild), text.toStdString());
    if (t == QAccessible::Value) FAcc->put_accValue(VARIANT::I4(FChild), text.toStdString());
  }

  QRect rect() const override {
    LONG l = 0, t = 0, w = 0, h = 0;
    if (FAcc->accLocation(&l, &t, &w, &h, VARIANT::I4(FChild)) != S_OK) return {};
    return QRect(l, t, w, h);
  }

  QAccessible::Role role() const override {
    VARIANT v;
    if (FAcc->get_accRole(VARIANT::I4(FChild), &v) != S_OK || v.vt != VT_I4) return QAccessible::NoRole;
    // Qt numbers its roles as the accessibility interface does.
    return QAccessible::Role(v.lVal);
  }

  QAccessible::State state() const override {
    VARIANT v;
    if (FAcc->get_accState(VARIANT::I4(FChild), &v) != S_OK || v.vt != VT_I4) return {};
    return StateFromBits(v.lVal);
  }

 private:
  QAccessible::Id SelfId() const {
    return QAccessible::uniqueId(const_cast<TBridgeInterface*>(this));
  }

  QPointer<QObject> FObject;
  TComPtr<IAccessible> FAcc;
  LONG FChild;
  QAccessible::Id FParent;
  mutable std::vector<QAccessible::Id> FChildren;
};

QAccessibleInterface* BridgeFactory(const QString&, QObject* Object) {
  auto it = Registered().find(Object);
  if (it == Registered().end()) return nullptr;
  return new TBridgeInterface(Object, it->second, CHILDID_SELF, 0);
}

// Qt's accessible interface of an object seen as an IAccessible (what an accessible object of
// ours asks about the window around it).
class TQtAccessible final : public IAccessible {
 public:
  explicit TQtAccessible(QAccessible::Id Id) : FId(Id) {}

  HRESULT QueryInterface(const IID& riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
      *ppv = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++FRefCount; }
  ULONG Release() override {
    ULONG n = --FRefCount;
    if (n == 0) delete this;
    return n;
  }
  HRESULT GetTypeInfoCount(unsigned*) override { return E_NOTIMPL; }
  HRESULT GetTypeInfo(unsigned, uint32_t, void**) override { return E_NOTIMPL; }
  HRESULT GetIDsOfNames(const IID&, const char* const*, unsigned, uint32_t, int32_t*) override {
    return E_NOTIMPL;
  }
  HRESULT Invoke(int32_t, const IID&, uint32_t, uint16_t, void*, void*, void*, unsigned*) override {
    return E_NOTIMPL;
  }

  HRESULT get_accParent(IDispatch** pp) override {
    *pp = nullptr;
    QAccessibleInterface* i = Iface();
    QAccessibleInterface* p = i ? i->parent() : nullptr;
    if (!p) return S_FALSE;
    *pp = new TQtAccessible(QAccessible::uniqueId(p));
    return S_OK;
  }
  HRESULT get_accChildCount(LONG* n) override {
    QAccessibleInterface* i = Iface();
    *n = i ? i->childCount() : 0;
    return S_OK;
  }
  HRESULT get_accChild(VARIANT v, IDispatch** pp) override {
    *pp = nullptr;
    QAccessibleInterface* i = Iface();
    if (!i || v.vt != VT_I4 || v.lVal < 1 || v.lVal > i->childCount()) return E_INVALIDARG;
    QAccessibleInterface* c = i->child(v.lVal - 1);
    if (!c) return E_INVALIDARG;
    *pp = new TQtAccessible(QAccessible::uniqueId(c));
    return S_OK;
  }
  HRESULT get_accName(VARIANT v, std::string* s) override { return Text(v, QAccessible::Name, s); }
  HRESULT get_accValue(VARIANT v, std::string* s) override { return Text(v, QAccessible::Value, s); }
  HRESULT get_accDescription(VARIANT v, std::string* s) override {
    return Text(v, QAccessible::Description, s);
  }
  HRESULT get_accRole(VARIANT v, VARIANT* r) override {
    QAccessibleInterface* i = Self(v);
    if (!i) return E_INVALIDARG;
    *r = VARIANT::I4(LONG(i->role()));
    return S_OK;
  }
  HRESULT get_accState(VARIANT v, VARIANT* r) override {
    QAccessibleInterface* i = Self(v);
    if (!i) return E_INVALIDARG;
    *r = VARIANT::I4(BitsFromState(i->state()));
    return S_OK;
  }
  HRESULT get_accHelp(VARIANT v, std::string* s) override { return Text(v, QAccessible::Help, s); }
  HRESULT get_accHelpTopic(std::string* s, VARIANT, LONG* t) override {
    s->clear();
    *t = 0;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT get_accKeyboardShortcut(VARIANT v, std::string* s) override {
    return Text(v, QAccessible::Accelerator, s);
  }
  HRESULT get_accFocus(VARIANT* r) override {
    r->Clear();
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT get_accSelection(VARIANT* r) override {
    r->Clear();
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT get_accDefaultAction(VARIANT, std::string* s) override {
    s->clear();
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT accLocation(LONG* l, LONG* t, LONG* w, LONG* h, VARIANT v) override {
    QAccessibleInterface* i = Self(v);
    if (!i) return E_INVALIDARG;
    QRect r = i->rect();
    *l = r.x();
    *t = r.y();
    *w = r.width();
    *h = r.height();
    return S_OK;
  }
  HRESULT accNavigate(LONG, VARIANT, VARIANT* r) override {
    r->Clear();
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT accHitTest(LONG, LONG, VARIANT* r) override {
    r->Clear();
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT put_accName(VARIANT, const std::string&) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT put_accValue(VARIANT, const std::string&) override { return DISP_E_MEMBERNOTFOUND; }

 private:
  QAccessibleInterface* Iface() const { return QAccessible::accessibleInterface(FId); }
  QAccessibleInterface* Self(const VARIANT& v) const {
    QAccessibleInterface* i = Iface();
    if (!i) return nullptr;
    if (v.vt == VT_I4 && v.lVal == CHILDID_SELF) return i;
    if (v.vt == VT_I4 && v.lVal >= 1 && v.lVal <= i->childCount()) return i->child(v.lVal - 1);
    return nullptr;
  }
  HRESULT Text(const VARIANT& v, QAccessible::Text t, std::string* s) {
    s->clear();
    QAccessibleInterface* i = Self(v);
    if (!i) return E_INVALIDARG;
    *s = i->text(t).toStdString();
    return s->empty() ? S_FALSE : S_OK;
  }

  QAccessible::Id FId;
  ULONG FRefCount = 1;
};

}  // namespace

void SetQtAccessibleObject(QObject* Object, IAccessible* Accessible) {
  if (!Object) return;
  static const bool installed = [] {
    QAccessible::installFactory(&BridgeFactory);
    return true;
  }();
  (void)installed;
  auto& map = Registered();
  bool known = map.count(Object) != 0;
  // An interface Qt made earlier for the object would hide the new answer.
  if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(Object))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
  if (!Accessible) {
    map.erase(Object);
    return;
  }
  map[Object] = TComPtr<IAccessible>::Share(Accessible);
  if (!known)
    QObject::connect(Object, &QObject::destroyed, [Object] { Registered().erase(Object); });
}

IAccessible* QtAccessibleObjectOf(QObject* Object) {
  auto it = Registered().find(Object);
  return it == Registered().end() ? nullptr : it->second.get();
}

TComPtr<IAccessible> AccessibleFromQtObject(QObject* Object) {
  QAccessibleInterface* i = Object ? QAccessible::queryAccessibleInterface(Object) : nullptr;
  if (!i) return {};
  return TComPtr<IAccessible>(new TQtAccessible(QAccessible::uniqueId(i)));
}
