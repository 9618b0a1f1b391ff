// The text of form descriptions: tokenizer, parser and formatter (the format is described in
// Streaming.h).

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/rtl/Streaming.h"

EDescriptionError::EDescriptionError(std::string file, int line, std::string path, std::string text)
    : EReadError(file + ":" + std::to_string(line) + ": " + (path.empty() ? "" : path + ": ") +
                 text),
      FFile(std::move(file)),
      FPath(std::move(path)),
      FText(std::move(text)),
      FLine(line) {}

namespace {

// Deep nesting is refused rather than risking the stack on hostile text.
constexpr int kMaxDepth = 64;

enum class Tok { End, Ident, Integer, Float, String, Symbol };

struct Token {
  Tok Kind = Tok::End;
  std::string Text;  // identifier, string contents, or the symbol
  int64_t Integer = 0;
  double Float = 0;
  int Line = 1;
};

bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Quote(const std::string& s) { return "\"" + s + "\""; }

class Lexer {
 public:
  Lexer(const std::string& text, const std::string& file) : FText(text), FFile(file) {
    if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;  // editors' byte-order mark
  }

  [[noreturn]] void Fail(int line, const std::string& text) const {
    throw EDescriptionError(FFile, line, "", text);
  }

  const Token& Peek() {
    if (!FHasPeek) {
      FPeek = Scan();
      FHasPeek = true;
    }
    return FPeek;
  }
  Token Next() {
    Peek();
    FHasPeek = false;
    return FPeek;
  }
  int Line() { return Peek().Line; }

  // The contents of "hex { ... }" once its opening brace was taken: digits in pairs, blanks
  // and line breaks between pairs.
  std::vector<uint8_t> HexBlock(int line) {
    std::vector<uint8_t> bytes;
    while (true) {
      SkipBlanks();
      if (FPos >= FText.size()) Fail(line, "Unterminated binary data");
      char c = FText[FPos];
      if (c == '}') {
        ++FPos;
        return bytes;
      }
      int hi = HexDigit(c);
      int lo = FPos + 1 < FText.size() ? HexDigit(FText[FPos + 1]) : -1;
      if (hi < 0 || lo < 0) Fail(FLine, "Invalid binary data: hexadecimal digit pairs expected");
      bytes.push_back(uint8_t(hi * 16 + lo));
      FPos += 2;
    }
  }

 private:
  void SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
        ++FPos;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++FPos;
      } else if (c == '#') {
        while (FPos < FText.size() && FText[FPos] != '\n') ++FPos;
      } else {
        break;
      }
    }
  }

  Token Scan() {
    SkipBlanks();
    Token t;
    t.Line = FLine;
    if (FPos >= FText.size()) return t;
    char c = FText[FPos];
    if (IsAlpha(c) || (c == '-' && FPos + 1 < FText.size() && IsAlpha(FText[FPos + 1]))) {
      std::size_t start = FPos++;
      // Dotted names (Frame1.Edit1) are one token.
      while (FPos < FText.size() &&
             (IsAlpha(FText[FPos]) || IsDigit(FText[FPos]) ||
              (FText[FPos] == '.' && FPos + 1 < FText.size() && IsAlpha(FText[FPos + 1]))))
        ++FPos;
      t.Kind = Tok::Ident;
      t.Text = FText.substr(start, FPos - start);
      return t;
    }
    if (IsDigit(c) || c == '$' ||
        ((c == '-' || c == '+') && FPos + 1 < FText.size() &&
         (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == '$')))
      return Number(t);
    if (c == '"') return String(t);
    if (std::strchr("={}[](),:+", c)) {
      ++FPos;
      t.Kind = Tok::Symbol;
      t.Text = std::string(1, c);
      return t;
    }
    Fail(FLine, Format("Unexpected character %s", {Quote(std::string(1, c))}));
  }

  Token Number(Token& t) {
    std::size_t start = FPos;
    bool negative = false;
    if (FText[FPos] == '-' || FText[FPos] == '+') negative = FText[FPos++] == '-';
    int base = 10;
    if (FText[FPos] == '$') {
      base = 16;
      ++FPos;
    } else if (FText[FPos] == '0' && FPos + 1 < FText.size() &&
               (FText[FPos + 1] == 'x' || FText[FPos + 1] == 'X')) {
      base = 16;
      FPos += 2;
    }
    std::size_t digits = FPos;
    bool isFloat = false;
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (IsDigit(c) || (base == 16 && HexDigit(c) >= 0)) {
        ++FPos;
      } else if (base == 10 && (c == '.' || c == 'e' || c == 'E')) {
        isFloat = true;
        ++FPos;
        if ((c == 'e' || c == 'E') && FPos < FText.size() &&
            (FText[FPos] == '-' || FText[FPos] == '+'))
          ++FPos;
      } else {
        break;
      }
    }
    // A number runs into no letter: "12px" is malformed, not 12 followed by px.
    if (FPos < FText.size() && (IsAlpha(FText[FPos]) || FText[FPos] == '.'))
      Fail(FLine, Format("Invalid number %s", {Quote(FText.substr(start, FPos - start + 1))}));
    std::string body = FText.substr(digits, FPos - digits);
    std::string whole = FText.substr(start, FPos - start);
    if (body.empty()) Fail(FLine, Format("Invalid number %s", {Quote(whole)}));
    if (isFloat) {
      double v = 0;
      std::string text = (negative ? "-" : "") + body;
      auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
      if (ec != std::errc() || end != text.data() + text.size())
        Fail(FLine, Format("Invalid number %s", {Quote(whole)}));
      t.Kind = Tok::Float;
      t.Float = v;
    } else {
      uint64_t v = 0;
      auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), v, base);
      uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
      if (ec != std::errc() || end != body.data() + body.size() || v > limit)
        Fail(FLine, Format("Integer %s out of range", {whole}));
      t.Kind = Tok::Integer;
      t.Integer = negative ? int64_t(0 - v) : int64_t(v);
    }
    t.Text = whole;
    return t;
  }

  Token String(Token& t) {
    ++FPos;
    std::string s;
    while (true) {
      if (FPos >= FText.size() || FText[FPos] == '\n') Fail(t.Line, "Unterminated string");
      char c = FText[FPos++];
      if (c == '"') break;
      if (c != '\\') {
        s += c;
        continue;
      }
      if (FPos >= FText.size()) Fail(t.Line, "Unterminated string");
      char e = FText[FPos++];
      switch (e) {
        case '"':
          s += '"';
          break;
        case '\\':
          s += '\\';
          break;
        case 'n':
          s += '\n';
          break;
        case 'r':
          s += '\r';
          break;
        case 't':
          s += '\t';
          break;
        case 'x': {
          int hi = FPos < FText.size() ? HexDigit(FText[FPos]) : -1;
          int lo = FPos + 1 < FText.size() ? HexDigit(FText[FPos + 1]) : -1;
          if (hi < 0 || lo < 0) Fail(t.Line, "Invalid \\x escape in string");
          s += char(hi * 16 + lo);
          FPos += 2;
          break;
        }
        default:
          Fail(t.Line, Format("Invalid escape \\%s in string", {std::string(1, e)}));
      }
    }
    t.Kind = Tok::String;
    t.Text = std::move(s);
    return t;
  }

  const std::string& FText;
  const std::string& FFile;
  std::size_t FPos = 0;
  int FLine = 1;
  Token FPeek;
  bool FHasPeek = false;
};

class Parser {
 public:
  Parser(const std::string& text, const std::string& file) : FLex(text, file) {}

  TDescObject Description() {
    const Token& t = FLex.Peek();
    if (!(t.Kind == Tok::Ident && t.Text == "object"))
      FLex.Fail(t.Line, "A description begins with \"object\"");
    FLex.Next();
    TDescObject root = Object(0);
    const Token& end = FLex.Peek();
    if (end.Kind != Tok::End) FLex.Fail(end.Line, "Text after the end of the description");
    return root;
  }

 private:
  static bool IsSym(const Token& t, char c) {
    return t.Kind == Tok::Symbol && t.Text.size() == 1 && t.Text[0] == c;
  }
  static std::string Describe(const Token& t) {
    switch (t.Kind) {
      case Tok::End:
        return "the end of the text";
      case Tok::String:
        return "a string";
      default:
        return Quote(t.Text);
    }
  }
  void Expect(char c, const std::string& where) {
    Token t = FLex.Next();
    if (!IsSym(t, c))
      FLex.Fail(t.Line,
                Format("%s expected %s, found %s", {Quote(std::string(1, c)), where, Describe(t)}));
  }
  std::string Name(const std::string& what) {
    Token t = FLex.Next();
    if (t.Kind != Tok::Ident || t.Text.find('.') != std::string::npos || t.Text[0] == '-')
      FLex.Fail(t.Line, Format("%s expected, found %s", {what, Describe(t)}));
    return t.Text;
  }
  void Enter(int depth, int line) {
    if (depth > kMaxDepth) FLex.Fail(line, "Description nested too deeply");
  }

  // After "object": [Name ":"] Class "{" members "}".
  TDescObject Object(int depth) {
    TDescObject o;
    o.Line = FLex.Line();
    Enter(depth, o.Line);
    std::string first = Name("Component name or class name");
    if (IsSym(FLex.Peek(), ':')) {
      FLex.Next();
      o.Name = first;
      o.ClassName = Name("Class name");
    } else {
      o.ClassName = first;
    }
    Expect('{', "after the class name");
    while (true) {
      const Token& t = FLex.Peek();
      if (IsSym(t, '}')) {
        FLex.Next();
        return o;
      }
      if (t.Kind == Tok::Ident && t.Text == "object") {
        FLex.Next();
        o.Children.push_back(Object(depth + 1));
        continue;
      }
      o.Properties.push_back(Property(depth));
    }
  }

  TDescProperty Property(int depth) {
    const Token& t = FLex.Peek();
    if (t.Kind == Tok::End) FLex.Fail(t.Line, "\"}\" expected, found the end of the text");
    TDescProperty p;
    p.Line = t.Line;
    p.Name = Name("Property name");
    Token next = FLex.Next();
    if (IsSym(next, '{')) {
      p.Value.Kind = dvBlock;
      p.Value.Line = p.Line;
      p.Value.Block = Block(depth + 1, p.Line);
    } else if (IsSym(next, '=')) {
      p.Value = Value(depth + 1);
    } else {
      FLex.Fail(next.Line,
                Format("\"=\" or \"{\" expected after %s, found %s", {p.Name, Describe(next)}));
    }
    return p;
  }

  // Properties up to the closing brace (the opening one taken).
  std::vector<TDescProperty> Block(int depth, int line) {
    Enter(depth, line);
    std::vector<TDescProperty> props;
    while (!IsSym(FLex.Peek(), '}')) props.push_back(Property(depth));
    FLex.Next();
    return props;
  }

  TDescValue Value(int depth) {
    TDescValue v;
    Token t = FLex.Next();
    v.Line = t.Line;
    Enter(depth, t.Line);
    switch (t.Kind) {
      case Tok::Integer:
        v.Kind = dvInteger;
        v.Integer = t.Integer;
        return v;
      case Tok::Float:
        v.Kind = dvFloat;
        v.Float = t.Float;
        return v;
      case Tok::String:
        v.Kind = dvString;
        v.Text = t.Text;
        while (IsSym(FLex.Peek(), '+')) {
          FLex.Next();
          Token more = FLex.Next();
          if (more.Kind != Tok::String)
            FLex.Fail(more.Line, Format("String expected after \"+\", found %s", {Describe(more)}));
          v.Text += more.Text;
        }
        return v;
      case Tok::Ident:
        if ((t.Text == "hex" || t.Text == "items") && IsSym(FLex.Peek(), '{')) {
          FLex.Next();
          if (t.Text == "hex") {
            v.Kind = dvBinary;
            v.Bytes = FLex.HexBlock(t.Line);
            return v;
          }
          v.Kind = dvItems;
          while (!IsSym(FLex.Peek(), '}')) {
            Token item = FLex.Next();
            if (!(item.Kind == Tok::Ident && item.Text == "item"))
              FLex.Fail(item.Line, Format("\"item\" expected, found %s", {Describe(item)}));
            Expect('{', "after \"item\"");
            v.Items.push_back(Block(depth + 1, item.Line));
          }
          FLex.Next();
          return v;
        }
        v.Kind = dvIdent;
        v.Text = t.Text;
        return v;
      case Tok::Symbol:
        if (t.Text == "[") {
          v.Kind = dvSet;
          if (IsSym(FLex.Peek(), ']')) {
            FLex.Next();
            return v;
          }
          while (true) {
            v.Names.push_back(Name("Set element"));
            Token sep = FLex.Next();
            if (IsSym(sep, ']')) return v;
            if (!IsSym(sep, ','))
              FLex.Fail(sep.Line, Format("\",\" or \"]\" expected, found %s", {Describe(sep)}));
          }
        }
        if (t.Text == "(") {
          v.Kind = dvList;
          while (!IsSym(FLex.Peek(), ')')) {
            v.Elements.push_back(Value(depth + 1));
            if (IsSym(FLex.Peek(), ',')) {
              FLex.Next();
            } else if (!IsSym(FLex.Peek(), ')')) {
              FLex.Fail(FLex.Line(),
                        Format("\",\" or \")\" expected, found %s", {Describe(FLex.Peek())}));
            }
          }
          FLex.Next();
          return v;
        }
        break;
      default:
        break;
    }
    FLex.Fail(t.Line, Format("Value expected, found %s", {Describe(t)}));
  }

  Lexer FLex;
};

// ---------------------------------------------------------------------------------------------
// Formatting.

bool ValidUtf8At(const std::string& s, std::size_t i, std::size_t& len) {
  unsigned char c = s[i];
  uint32_t cp;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
  } else {
    return false;
  }
  if (i + len > s.size()) return false;
  for (std::size_t k = 1; k < len; ++k) {
    unsigned char d = s[i + k];
    if ((d & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (d & 0x3F);
  }
  static const uint32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
  return cp >= minimum[len] && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

// One literal; the text is kept readable: valid UTF-8 as is, other bytes and controls escaped.
std::string StringLiteral(const std::string& s, std::size_t from, std::size_t to) {
  std::string out = "\"";
  static const char* hex = "0123456789ABCDEF";
  for (std::size_t i = from; i < to;) {
    unsigned char c = s[i];
    std::size_t len = 0;
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F || (c >= 0x80 && !ValidUtf8At(s, i, len))) {
      out += "\\x";
      out += hex[c >> 4];
      out += hex[c & 15];
    } else if (c >= 0x80) {
      out.append(s, i, len);
      i += len;
      continue;
    } else {
      out += char(c);
    }
    ++i;
  }
  return out + "\"";
}

std::string FloatText(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, end);
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

class Formatter {
 public:
  std::string Result() { return std::move(FOut); }

  void Object(const TDescObject& o, int level) {
    Indent(level);
    FOut += "object ";
    if (!o.Name.empty()) FOut += o.Name + ": ";
    FOut += o.ClassName + " {\n";
    Properties(o.Properties, level + 1);
    for (const auto& c : o.Children) Object(c, level + 1);
    Indent(level);
    FOut += "}\n";
  }

 private:
  void Indent(int level) { FOut.append(std::size_t(level) * 2, ' '); }

  void Properties(const std::vector<TDescProperty>& props, int level) {
    for (const auto& p : props) {
      Indent(level);
      FOut += p.Name;
      if (p.Value.Kind == dvBlock) {
        FOut += " {\n";
        Properties(p.Value.Block, level + 1);
        Indent(level);
        FOut += "}\n";
        continue;
      }
      FOut += " = ";
      Value(p.Value, level);
      FOut += "\n";
    }
  }

  static bool Scalar(const TDescValue& v) {
    return v.Kind == dvInteger || v.Kind == dvFloat || v.Kind == dvIdent ||
           (v.Kind == dvString && v.Text.find('\n') == std::string::npos && v.Text.size() < 40);
  }

  void Value(const TDescValue& v, int level) {
    switch (v.Kind) {
      case dvInteger:
        FOut += std::to_string(v.Integer);
        break;
      case dvFloat:
        FOut += FloatText(v.Float);
        break;
      case dvIdent:
        FOut += v.Text;
        break;
      case dvString:
        String(v.Text, level);
        break;
      case dvSet: {
        FOut += "[";
        for (std::size_t i = 0; i < v.Names.size(); ++i) FOut += (i ? ", " : "") + v.Names[i];
        FOut += "]";
        break;
      }
      case dvList: {
        bool inlineList = v.Elements.size() <= 8;
        for (const auto& e : v.Elements) inlineList = inlineList && Scalar(e);
        FOut += "(";
        for (std::size_t i = 0; i < v.Elements.size(); ++i) {
          if (inlineList) {
            if (i) FOut += ", ";
          } else {
            FOut += i ? ",\n" : "\n";
            Indent(level + 1);
          }
          Value(v.Elements[i], level + 1);
        }
        if (!inlineList && !v.Elements.empty()) {
          FOut += "\n";
          Indent(level);
        }
        FOut += ")";
        break;
      }
      case dvBinary:
        Binary(v.Bytes, level);
        break;
      case dvItems: {
        FOut += "items {\n";
        for (const auto& item : v.Items) {
          Indent(level + 1);
          FOut += "item {\n";
          Properties(item, level + 2);
          Indent(level + 1);
          FOut += "}\n";
        }
        Indent(level);
        FOut += "}";
        break;
      }
      case dvBlock:
        break;  // only ever a property's value, handled by Properties
    }
  }

  // Long texts are split after their line breaks into joined literals, one a line.
  void String(const std::string& s, int level) {
    std::size_t start = 0;
    bool first = true;
    while (true) {
      std::size_t nl = s.find('\n', start);
      std::size_t end = nl == std::string::npos || nl + 1 == s.size() ? s.size() : nl + 1;
      if (!first) {
        FOut += " +\n";
        Indent(level + 1);
      }
      FOut += StringLiteral(s, start, end);
      first = false;
      if (end >= s.size()) break;
      start = end;
    }
  }

  void Binary(const std::vector<uint8_t>& bytes, int level) {
    static const char* hex = "0123456789ABCDEF";
    constexpr std::size_t kPerLine = 32;
    if (bytes.size() <= kPerLine) {
      FOut += "hex {";
      if (!bytes.empty()) FOut += " ";
      for (uint8_t b : bytes) {
        FOut += hex[b >> 4];
        FOut += hex[b & 15];
      }
      FOut += bytes.empty() ? "}" : " }";
      return;
    }
    FOut += "hex {\n";
    for (std::size_t i = 0; i < bytes.size(); i += kPerLine) {
      Indent(level + 1);
      for (std::size_t k = i; k < std::min(bytes.size(), i + kPerLine); ++k) {
        FOut += hex[bytes[k] >> 4];
        FOut += hex[bytes[k] & 15];
      }
      FOut += "\n";
    }
    Indent(level);
    FOut += "}";
  }

  std::string FOut;
};

}  // namespace

TDescObject ParseDescription(const std::string& Text, const std::string& FileName) {
  return Parser(Text, FileName).Description();
}

std::string FormatDescription(const TDescObject& Object) {
  Formatter f;
  f.Object(Object, 0);
  return f.Result();
}
