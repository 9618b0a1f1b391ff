// Formatted text: line breaking, prefixes, tabs, ellipses, alignment and measuring, and text
// output with per-character advances.
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPointer>
#include <algorithm>
#include <atomic>
#include <mutex>
#include <unordered_map>

#include "platform/win/DeviceContext.h"

namespace {

struct TLine {
  QString Text;
  int Underline = -1;  // index of the prefixed character in Text
};

// Removes the prefix marks; returns the index of the underlined character (or -1).
QString StripPrefix(const QString& s, int* underline) {
  QString out;
  *underline = -1;
  for (int i = 0; i < s.size(); ++i) {
    if (s[i] == '&' && i + 1 < s.size()) {
      ++i;
      if (s[i] != '&' && *underline < 0) *underline = int(out.size());
    } else if (s[i] == '&') {
      continue;
    }
    out += s[i];
  }
  return out;
}

QString ExpandTabs(const QString& s, const QFontMetrics& fm) {
  if (!s.contains('\t')) return s;
  int tabWidth = std::max(1, 8 * fm.averageCharWidth());
  QString out;
  for (QChar c : s) {
    if (c != '\t') {
      out += c;
      continue;
    }
    int w = fm.horizontalAdvance(out);
    int next = (w / tabWidth + 1) * tabWidth;
    do out += ' ';
    while (fm.horizontalAdvance(out) < next);
  }
  return out;
}

// The longest start of s (plus the ellipsis) that fits.
QString EndEllipsis(const QString& s, int width, const QFont& font, const QFontMetrics& fm, bool wordOnly) {
  if (CachedTextAdvance(font, s) <= width) return s;
  const QString dots = QStringLiteral("...");
  for (int n = int(s.size()) - 1; n > 0; --n) {
    if (wordOnly && n < s.size() && s[n] != ' ') continue;
    QString t = s.left(n) + dots;
    if (fm.horizontalAdvance(t) <= width) return t;
  }
  return dots;
}

// Keeps the last path element whole and shortens what comes before it.
QString PathEllipsis(const QString& s, int width, const QFont& font, const QFontMetrics& fm) {
  if (CachedTextAdvance(font, s) <= width) return s;
  int slash = int(std::max(s.lastIndexOf('\\'), s.lastIndexOf('/')));
  if (slash < 0) return EndEllipsis(s, width, font, fm, false);
  QString head = s.left(slash), tail = s.mid(slash);
  const QString dots = QStringLiteral("...");
  for (int n = int(head.size()) - 1; n >= 0; --n) {
    QString t = head.left(n) + dots + tail;
    if (fm.horizontalAdvance(t) <= width) return t;
  }
  return dots + tail;
}

// Breaks one paragraph into lines no wider than width.
void WrapParagraph(const QString& p, int width, bool breakWords, const QFontMetrics& fm, QStringList& out) {
  if (p.isEmpty()) {
    out << QString();
    return;
  }
  int i = 0, n = int(p.size());
  while (i < n) {
    // Widest run from i that fits, ending after a space or at the end.
    int lastBreak = -1, j = i;
    while (j < n) {
      int next = j + 1;
      if (fm.horizontalAdvance(p.mid(i, next - i).trimmed()) > width && j > i) break;
      if (p[j] == ' ') lastBreak = next;
      j = next;
    }
    if (j >= n) {
      out << p.mid(i);
      break;
    }
    int end;
    if (lastBreak > i) end = lastBreak;
    else if (breakWords) end = std::max(j, i + 1);
    else {
      // A word wider than the line stays whole.
      end = i;
      while (end < n && p[end] != ' ') ++end;
      while (end < n && p[end] == ' ') ++end;
    }
    QString line = p.mid(i, end - i);
    while (line.endsWith(' ')) line.chop(1);
    out << line;
    i = end;
  }
}

struct TAdvanceKey {
  QFont Font;
  QString Text;
  bool operator==(const TAdvanceKey& o) const { return Text == o.Text && Font == o.Font; }
};
struct TAdvanceKeyHash {
  size_t operator()(const TAdvanceKey& k) const { return qHash(k.Text, qHash(k.Font)); }
};

// Fonts added to or removed from the font database may resolve a font anew: every thread's
// remembered advances are then forgotten.
std::atomic<int> gFontGeneration{0};

// Listens to the application's font database (a new application starts a new generation).
void WatchFontDatabase() {
  static std::mutex lock;
  static QPointer<QGuiApplication> watched;
  QGuiApplication* app = qGuiApp;
  if (!app) return;
  std::lock_guard guard(lock);
  if (watched == app) return;
  watched = app;
  ++gFontGeneration;
  QObject::connect(app, &QGuiApplication::fontDatabaseChanged, [] { ++gFontGeneration; });
}

}  // namespace

int CachedTextAdvance(const QFont& font, const QString& text) {
  if (text.isEmpty()) return 0;
  thread_local std::unordered_map<TAdvanceKey, int, TAdvanceKeyHash> cache;
  thread_local int generation = 0;
  if (generation != gFontGeneration.load()) {
    cache.clear();
    generation = gFontGeneration.load();
  }
  TAdvanceKey key{font, text};
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  WatchFontDatabase();
  if (cache.size() >= 4096) cache.clear();
  const int w = QFontMetrics(font).horizontalAdvance(text);
  cache.emplace(std::move(key), w);
  return w;
}

int DrawText(HDC hdc, std::string* text, int count, RECT* rect, UINT format) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc || !text || !rect) return 0;
  QString all = QString::fromStdString(count < 0 ? *text : text->substr(0, size_t(std::max(0, count))));
  QFont font = dc->CurrentFont();
  QFontMetrics fm(font);
  int lineHeight = fm.height() + ((format & DT_EXTERNALLEADING) ? fm.leading() : 0);
  int width = rect->right - rect->left;
  bool single = format & DT_SINGLELINE;
  bool prefix = !(format & DT_NOPREFIX);

  QStringList paragraphs;
  if (single) {
    QString s = all;
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    paragraphs << s;
  } else {
    QString s = all;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    paragraphs = s.split('\n');
    if (paragraphs.size() > 1 && paragraphs.last().isEmpty()) paragraphs.removeLast();
  }
  std::vector<TLine> lines;
  for (const QString& para : paragraphs) {
    int underline = -1;
    QString p = prefix ? StripPrefix(para, &underline) : para;
    if (format & DT_HIDEPREFIX) underline = -1;
    if (format & DT_EXPANDTABS) p = ExpandTabs(p, fm);
    QStringList parts;
    if ((format & DT_WORDBREAK) && !single) WrapParagraph(p, width, format & DT_EDITCONTROL, fm, parts);
    else parts << p;
    int offset = 0;
    for (const QString& part : parts) {
      TLine l{part, -1};
      if (underline >= offset && underline < offset + part.size()) l.Underline = underline - offset;
      offset += int(part.size());
      while (offset < p.size() && p[offset] == ' ') ++offset;
      lines.push_back(l);
    }
  }
  bool ellipsis = format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS);
  if (ellipsis) {
    for (TLine& l : lines) {
      QString t = (format & DT_PATH_ELLIPSIS) ? PathEllipsis(l.Text, width, font, fm)
                                              : EndEllipsis(l.Text, width, font, fm, format & DT_WORD_ELLIPSIS);
      if (t != l.Text) {
        l.Text = t;
        if (l.Underline >= t.size() - 3) l.Underline = -1;
      }
    }
    if (format & DT_MODIFYSTRING) {
      QStringList texts;
      for (const TLine& l : lines) texts << l.Text;
      *text = texts.join('\n').toStdString();
    }
  }
  int textWidth = 0;
  for (const TLine& l : lines) textWidth = std::max(textWidth, CachedTextAdvance(font, l.Text));
  int textHeight = int(std::max<size_t>(lines.size(), 1)) * lineHeight;
  if (single) textHeight = lineHeight;

  if (format & DT_CALCRECT) {
    rect->right = rect->left + (all.isEmpty() ? 0 : textWidth);
    rect->bottom = rect->top + textHeight;
    return textHeight;
  }

  int top = rect->top;
  if (single && (format & DT_VCENTER)) top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
  else if (single && (format & DT_BOTTOM)) top = rect->bottom - lineHeight;

  TDibSync sync;

  QPainter p;
  if (!dc->BeginPainter(p)) return 0;
  if (!(format & DT_NOCLIP)) p.setClipRect(QRect(rect->left, rect->top, width, rect->bottom - rect->top), Qt::IntersectClip);
  p.setFont(font);
  p.setPen(dc->TextQColor());
  // A font with an escapement turns each line about its starting point, as text output does.
  int escapement = 0;
  if (TGdiFont* f = FindFont(dc->S.Font)) escapement = f->Log.lfEscapement;
  int y = top;
  for (const TLine& l : lines) {
    int w = CachedTextAdvance(font, l.Text);
    int x = rect->left;
    if (format & DT_CENTER) x = rect->left + (width - w) / 2;
    else if (format & DT_RIGHT) x = rect->right - w;
    QTransform unturned = p.transform();
    if (escapement) {
      p.translate(x, y);
      p.rotate(-escapement / 10.0);
      p.translate(-x, -y);
    }
    if (dc->S.BkMode == OPAQUE) p.fillRect(QRect(x, y, w, lineHeight), ColorRefToQColor(dc->S.BkColor));
    p.drawText(QPoint(x, y + fm.ascent()), l.Text);
    if (l.Underline >= 0) {
      int ux = x + CachedTextAdvance(font, l.Text.left(l.Underline));
      int uw = CachedTextAdvance(font, l.Text.mid(l.Underline, 1));
      p.fillRect(QRect(ux, y + fm.ascent() + 1, uw, 1), dc->TextQColor());
    }
    p.setTransform(unturned);
    y += lineHeight;
  }
  return (top - rect->top) + textHeight;
}

int DrawText(HDC hdc, const std::string& text, int count, RECT* rect, UINT format) {
  std::string copy = text;
  return DrawText(hdc, &copy, count, rect, format & ~DT_MODIFYSTRING);
}

BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, const std::string& text, const int* dx) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return FALSE;
  QFont font = dc->CurrentFont();
  QFontMetrics fm(font);
  QString s = QString::fromStdString(text);
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  QRect r = rect ? QRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top) : QRect();
  if (rect && (options & ETO_OPAQUE)) p.fillRect(r, ColorRefToQColor(dc->S.BkColor));
  if (rect && (options & ETO_CLIPPED)) p.setClipRect(r, Qt::IntersectClip);
  int escapement = 0;
  if (TGdiFont* f = FindFont(dc->S.Font)) escapement = f->Log.lfEscapement;
  p.translate(x, y);
  if (escapement) p.rotate(-escapement / 10.0);
  int total = 0;
  if (dx)
    for (int i = 0; i < s.size(); ++i) total += dx[i];
  else
    total = CachedTextAdvance(font, s);
  if (dc->S.BkMode == OPAQUE && !(options & ETO_OPAQUE)) p.fillRect(QRect(0, 0, total, fm.height()), ColorRefToQColor(dc->S.BkColor));
  p.setFont(font);
  p.setPen(dc->TextQColor());
  if (!dx) {
    p.drawText(QPoint(0, fm.ascent()), s);
  } else {
    int pos = 0;
    for (int i = 0; i < s.size(); ++i) {
      p.drawText(QPoint(pos, fm.ascent()), QString(s[i]));
      pos += dx[i];
    }
  }
  return TRUE;
}

BOOL GetTextExtentExPoint(HDC hdc, const std::string& text, int maxExtent, int* fit, int* dx, SIZE* size) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return FALSE;
  QFontMetrics fm(dc->CurrentFont());
  QString s = QString::fromStdString(text);
  int n = 0;
  for (int i = 1; i <= s.size(); ++i) {
    int w = fm.horizontalAdvance(s.left(i));
    if (dx) dx[i - 1] = w;
    if (w <= maxExtent) n = i;
  }
  if (fit) *fit = n;
  if (size) *size = {fm.horizontalAdvance(s), fm.height()};
  return TRUE;
}

int GetTextFace(HDC hdc, int count, char* name) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return 0;
  std::string face = dc->CurrentFont().family().toStdString();
  if (name && count > 0) {
    size_t n = std::min(face.size(), size_t(count - 1));
    face.copy(name, n);
    name[n] = 0;
  }
  return int(face.size()) + 1;
}

// ---------------------------------------------------------------------------------------------
// 3D edges in the classic colours.

namespace {
void Strip(TDeviceContext* dc, QPainter& p, const QRect& r, int index) {
  p.fillRect(r, ColorRefToQColor(GetSysColor(index)));
  (void)dc;
}
}  // namespace

BOOL DrawEdge(HDC hdc, RECT* rc, UINT edge, UINT flags) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc || !rc) return FALSE;
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  RECT r = *rc;
  auto ring = [&](int lt, int rb) {
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (flags & BF_LEFT) Strip(dc, p, QRect(r.left, r.top, 1, h), lt);
    if (flags & BF_TOP) Strip(dc, p, QRect(r.left, r.top, w, 1), lt);
    if (flags & BF_RIGHT) Strip(dc, p, QRect(r.right - 1, r.top, 1, h), rb);
    if (flags & BF_BOTTOM) Strip(dc, p, QRect(r.left, r.bottom - 1, w, 1), rb);
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
  };
  UINT outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  if (flags & BF_MONO) {
    if (outer) ring(COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
    if (inner) ring(COLOR_WINDOW, COLOR_WINDOW);
  } else if (flags & BF_FLAT) {
    if (outer) ring(COLOR_BTNSHADOW, COLOR_BTNSHADOW);
    if (inner) ring(COLOR_BTNFACE, COLOR_BTNFACE);
  } else {
    bool soft = flags & BF_SOFT;
    if (outer == BDR_RAISEDOUTER) ring(soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    else if (outer == BDR_SUNKENOUTER) ring(soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
    if (inner == BDR_RAISEDINNER) ring(soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    else if (inner == BDR_SUNKENINNER) ring(soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT);
  }
  if ((flags & BF_MIDDLE) && r.right > r.left && r.bottom > r.top)
    Strip(dc, p, QRect(r.left, r.top, r.right - r.left, r.bottom - r.top), (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
  if (flags & BF_ADJUST) *rc = r;
  return TRUE;
}
