// The "EDIT" window class: a one-line edit (QLineEdit) driven by the edit messages, telling its
// parent of changes with WM_COMMAND, typing characters when WM_CHAR reaches it. The text limit
// holds back what the user types or pastes, never text the program sets (Qt's own maximum
// length would cut that too), so the limit is kept beside the widget and Qt's stays at its most.
#include <QClipboard>
#include <QGuiApplication>
#include <QFont>
#include <QLineEdit>
#include <QMargins>
#include <QPalette>
#include <QSignalBlocker>
#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/win/DeviceContext.h"
#include "platform/win/WinInternal.h"

namespace {

QLineEdit* EditOf(HWND h) { return qobject_cast<QLineEdit*>(GetWindowWidget(h)); }

void Notify(HWND h, WORD code) {
  HWND parent = GetParent(h);
  if (!parent || !(GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD)) return;
  SendMessage(parent, WM_COMMAND, MAKEWPARAM(WORD(GetWindowLongPtr(h, GWLP_ID)), code),
              reinterpret_cast<LPARAM>(h));
}

constexpr int kMostText = 32767;
const char* const kLimitProperty = "sonalix_text_limit";

int TextLimit(QLineEdit* e) {
  int limit = e->property(kLimitProperty).toInt();
  return limit > 0 ? limit : kMostText;
}

// Room left for typed or pasted text once the selection it replaces is gone.
int RoomForInput(QLineEdit* e) {
  return std::max(0, TextLimit(e) - int(e->text().size() - e->selectedText().size()));
}

void PasteWithinLimit(HWND h, QLineEdit* e) {
  if (e->isReadOnly()) return;
  QString text = QGuiApplication::clipboard()->text();
  text = text.left(text.indexOf(QLatin1Char('\n')) < 0 ? text.size() : text.indexOf(QLatin1Char('\n')));
  int room = RoomForInput(e);
  if (text.size() > room) {
    text.truncate(room);
    Notify(h, EN_MAXTEXT);
  }
  if (!text.isEmpty()) e->insert(text);
}

void ApplyStyle(QLineEdit* e, DWORD style) {
  e->setReadOnly(style & ES_READONLY);
  e->setEchoMode((style & ES_PASSWORD) ? QLineEdit::Password : QLineEdit::Normal);
  Qt::Alignment a = Qt::AlignLeft;
  if (style & ES_CENTER) a = Qt::AlignHCenter;
  if (style & ES_RIGHT) a = Qt::AlignRight;
  e->setAlignment(a | Qt::AlignVCenter);
}

LRESULT EditProc(HWND h, UINT m, WPARAM wp, LPARAM lp) {
  QLineEdit* e = EditOf(h);
  if (!e) return DefWindowProc(h, m, wp, lp);
  DWORD style = DWORD(GetWindowLongPtr(h, GWL_STYLE));
  switch (m) {
    case WM_CREATE: {
      ApplyStyle(e, style);
      e->setFrame(false);
      QObject::connect(e, &QLineEdit::textChanged, e, [h] { Notify(h, EN_CHANGE); });
      auto* cs = reinterpret_cast<CREATESTRUCT*>(lp);
      if (cs && cs->lpszName) {
        QSignalBlocker block(e);
        e->setText(QString::fromUtf8(cs->lpszName));
      }
      return 0;
    }
    case WM_SETTEXT: {
      DefWindowProc(h, m, wp, lp);
      e->setText(QString::fromUtf8(lp ? reinterpret_cast<const char*>(lp) : ""));
      e->setModified(false);
      return TRUE;
    }
    case WM_GETTEXT: {
      std::string t = e->text().toStdString();
      if (!lp || wp == 0) return 0;
      size_t n = std::min<size_t>(t.size(), wp - 1);
      std::memcpy(reinterpret_cast<char*>(lp), t.data(), n);
      reinterpret_cast<char*>(lp)[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: return LRESULT(e->text().toStdString().size());
    case WM_CHAR: {
      char32_t c = char32_t(wp);
      if (c >= 0x20 && c != 0x7F) {
        if ((style & ES_NUMBER) && !(c >= '0' && c <= '9')) {
          MessageBeep(0);
          return 0;
        }
        if ((style & ES_UPPERCASE) && c < 128) wp = WPARAM(std::toupper(int(c)));
        if ((style & ES_LOWERCASE) && c < 128) wp = WPARAM(std::tolower(int(c)));
        if (style & ES_READONLY) return 0;
        if (RoomForInput(e) <= 0) {
          Notify(h, EN_MAXTEXT);
          return 0;
        }
      }
      return DefWindowProc(h, m, wp, lp);
    }
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETFOCUS:
      DefWindowProc(h, m, wp, lp);
      Notify(h, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      DefWindowProc(h, m, wp, lp);
      Notify(h, EN_KILLFOCUS);
      return 0;
    case WM_SETFONT:
      if (TGdiFont* f = FindFont(reinterpret_cast<HFONT>(wp))) e->setFont(f->Font);
      return 0;
    case EM_LIMITTEXT: e->setProperty(kLimitProperty, wp ? int(std::min<WPARAM>(wp, kMostText)) : 0); return 0;
    case EM_GETLIMITTEXT: return TextLimit(e);
    case WM_KEYDOWN: {
      // Qt's own paste keys would pass the limit by.
      bool ctrl = GetKeyState(VK_CONTROL) < 0, shift = GetKeyState(VK_SHIFT) < 0;
      if ((ctrl && !shift && wp == 'V') || (shift && !ctrl && wp == VK_INSERT)) {
        PasteWithinLimit(h, e);
        return 0;
      }
      break;
    }
    case EM_SETSEL: {
      int len = int(e->text().size());
      int start = int(intptr_t(wp)), end = int(lp);
      if (start < 0) {
        e->deselect();
        return 0;
      }
      if (end < 0 || end > len) end = len;
      start = std::min(start, len);
      if (end >= start) e->setSelection(start, end - start);
      else e->setSelection(start, -(start - end));
      return 0;
    }
    case EM_GETSEL: {
      int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
      int end = e->hasSelectedText() ? e->selectionEnd() : start;
      if (wp) *reinterpret_cast<DWORD*>(wp) = DWORD(start);
      if (lp) *reinterpret_cast<DWORD*>(lp) = DWORD(end);
      return LRESULT(MAKELONG(WORD(start), WORD(end)));
    }
    case EM_REPLACESEL: e->insert(QString::fromUtf8(lp ? reinterpret_cast<const char*>(lp) : "")); return 0;
    case EM_GETMODIFY: return e->isModified();
    case EM_SETMODIFY: e->setModified(wp != 0); return 0;
    case EM_CANUNDO: return e->isUndoAvailable();
    case EM_UNDO:
    case WM_UNDO: e->undo(); return TRUE;
    case EM_EMPTYUNDOBUFFER: {
      QString t = e->text();
      QSignalBlocker block(e);
      e->setText(t);
      return 0;
    }
    case EM_SETREADONLY: {
      DWORD s = wp ? (style | ES_READONLY) : (style & ~ES_READONLY);
      SetWindowLongPtr(h, GWL_STYLE, LONG_PTR(int32_t(s)));
      e->setReadOnly(wp != 0);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR: e->setEchoMode(wp ? QLineEdit::Password : QLineEdit::Normal); return 0;
    case EM_SETRECT:
    case EM_SETRECTNP: {
      if (!lp) return 0;
      auto* r = reinterpret_cast<const RECT*>(lp);
      RECT c;
      GetClientRect(h, &c);
      e->setTextMargins(r->left, r->top, std::max(0L, long(c.right - r->right)),
                        std::max(0L, long(c.bottom - r->bottom)));
      return 0;
    }
    case EM_GETRECT: {
      if (!lp) return 0;
      RECT c;
      GetClientRect(h, &c);
      QMargins mg = e->textMargins();
      *reinterpret_cast<RECT*>(lp) = RECT{mg.left(), mg.top(), c.right - mg.right(), c.bottom - mg.bottom()};
      return 0;
    }
    case EM_SETMARGINS: {
      QMargins mg = e->textMargins();
      if (wp & EC_LEFTMARGIN) mg.setLeft(LOWORD(uintptr_t(lp)));
      if (wp & EC_RIGHTMARGIN) mg.setRight(HIWORD(uintptr_t(lp)));
      e->setTextMargins(mg);
      return 0;
    }
    case EM_GETMARGINS: {
      QMargins mg = e->textMargins();
      return LRESULT(MAKELONG(WORD(mg.left()), WORD(mg.right())));
    }
    case WM_CUT: e->cut(); return 0;
    case WM_COPY: e->copy(); return 0;
    case WM_PASTE: PasteWithinLimit(h, e); return 0;
    case WM_CLEAR: e->del(); return 0;
  }
  return DefWindowProc(h, m, wp, lp);
}

}  // namespace

BOOL GetCaretPos(POINT* p) {
  if (!p) return FALSE;
  QWidget* w = GetWindowWidget(GetFocus());
  if (!w || !w->testAttribute(Qt::WA_InputMethodEnabled)) return FALSE;
  // Qt widens the caret's rectangle for repainting; its middle is where the caret stands. A line
  // edit sets its text two pixels further in than the platform's edit, whose caret before the
  // first character stands at x 1.
  QRect r = w->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  if (!r.isValid()) return FALSE;
  p->x = r.left() + r.width() / 2 - (qobject_cast<QLineEdit*>(w) ? 2 : 0);
  p->y = r.top();
  return TRUE;
}

void RegisterEditClass() {
  static bool done = false;
  if (done) return;
  done = true;
  SetClassWidgetFactory("EDIT", [](QWidget* parent) { return new QLineEdit(parent); });
  WNDCLASS wc;
  wc.style = CS_DBLCLKS;
  // Held here for the life of the program: a class does not own its procedure.
  static WNDPROC proc = MakeWindowProc(EditProc);
  wc.lpfnWndProc = proc;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.lpszClassName = "EDIT";
  RegisterClass(&wc);
}

// Before an edit paints, its parent chooses the colours (WM_CTLCOLOREDIT): the text colour set
// on the device context and the background of the brush returned.
void UpdateEditColors(HWND h) {
  QLineEdit* e = EditOf(h);
  HWND parent = GetParent(h);
  if (!e || !parent || !(GetWindowLongPtr(h, GWL_STYLE) & WS_CHILD)) return;
  static QImage scratch(1, 1, QImage::Format_RGB32);
  HDC dc = CreateImageDC(&scratch);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  UINT msg = (GetWindowLongPtr(h, GWL_STYLE) & ES_READONLY) ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  auto brush = reinterpret_cast<HBRUSH>(SendMessage(parent, msg, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(h)));
  QColor text = ColorRefToQColor(GetTextColor(dc));
  QColor base = ColorRefToQColor(GetBkColor(dc));
  uintptr_t v = reinterpret_cast<uintptr_t>(brush);
  if (v > 0 && v <= 31) base = ColorRefToQColor(GetSysColor(int(v - 1)));
  else if (TGdiBrush* b = FindBrush(brush)) base = ColorRefToQColor(b->Log.lbColor);
  DeleteDC(dc);
  if (!IsWindow(h) || !(e = EditOf(h))) return;
  QPalette pal = e->palette();
  if (pal.color(QPalette::Text) == text && pal.color(QPalette::Base) == base) return;
  pal.setColor(QPalette::Text, text);
  pal.setColor(QPalette::Base, base);
  e->setPalette(pal);
}
