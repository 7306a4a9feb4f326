// Syntax of the stored-form text: from characters to a tree of objects and values.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "stored/FormText.h"
#include "host/Streaming.h"

namespace fmx::formtext {

namespace {

bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// Length of the UTF-8 sequence at s[i], or 0 when it is not valid UTF-8.
size_t Utf8Length(std::string_view s, size_t i) {
  auto b = static_cast<unsigned char>(s[i]);
  if (b < 0x80) return 1;
  size_t n;
  uint32_t cp;
  if ((b & 0xE0) == 0xC0) n = 2, cp = b & 0x1F;
  else if ((b & 0xF0) == 0xE0) n = 3, cp = b & 0x0F;
  else if ((b & 0xF8) == 0xF0) n = 4, cp = b & 0x07;
  else return 0;
  if (i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    auto c = static_cast<unsigned char>(s[i + k]);
    if ((c & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (c & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not text.
  if ((n == 2 && cp < 0x80) || (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) ||
      (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
    return 0;
  return n;
}

enum class TTok { End, Ident, Integer, Float, String, Symbol };

struct TToken {
  TTok Kind = TTok::End;
  TPos Pos;
  std::string Text;  // Ident, String (decoded UTF-8), Symbol (one char)
  int64_t Int = 0;
  double Float = 0;
};

class TParser {
 public:
  TParser(std::string_view Text, const TReadLimits& Limits) : S(Text), L(Limits) {
    if (S.size() > L.MaxTextBytes)
      Fail(TPos{}, "a text of at most " + std::to_string(L.MaxTextBytes) + " bytes, found " +
                       std::to_string(S.size()));
    if (S.size() >= 3 && S.substr(0, 3) == "\xEF\xBB\xBF") I = 3;
    CheckText();
  }

  std::unique_ptr<TObjectNode> Run() {
    Next();
    if (!IsWord("object")) Fail(Tok.Pos, "'object' at the start of the text");
    auto root = ParseObject(1);
    if (Tok.Kind != TTok::End) Fail(Tok.Pos, "the end of the text after the last 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(TPos P, const std::string& Expected) {
    throw EReadError(P.Line, P.Column, "expected " + Expected);
  }

  // The whole input must be text: no NUL bytes, nothing that is not UTF-8.
  void CheckText() {
    TPos p{1, 1};
    for (size_t i = I; i < S.size();) {
      if (S[i] == '\0') throw EReadError(p.Line, p.Column, "expected text, found a NUL byte");
      size_t n = Utf8Length(S, i);
      if (n == 0) throw EReadError(p.Line, p.Column, "expected UTF-8 text, found an invalid byte");
      if (S[i] == '\n') p = {p.Line + 1, 1};
      else ++p.Column;
      i += n;
    }
  }

  char Peek(size_t Ahead = 0) const { return I + Ahead < S.size() ? S[I + Ahead] : '\0'; }
  void Advance() {
    if (I >= S.size()) return;
    if (S[I] == '\n') {
      ++P.Line;
      P.Column = 1;
      ++I;
      return;
    }
    I += Utf8Length(S, I);
    ++P.Column;
  }
  void SkipBlanks() {
    while (I < S.size()) {
      char c = S[I];
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
        Advance();
      else if (c == '/' && Peek(1) == '/')  // line comments are allowed in hand-written files
        while (I < S.size() && S[I] != '\n') Advance();
      else
        break;
    }
  }

  void Next() {
    SkipBlanks();
    Tok = TToken{};
    Tok.Pos = P;
    if (I >= S.size()) return;
    char c = S[I];
    if (IsIdentStart(c)) {
      size_t start = I;
      while (I < S.size() && IsIdentChar(S[I])) Advance();
      Tok.Kind = TTok::Ident;
      Tok.Text.assign(S.substr(start, I - start));
    } else if (IsDigit(c) || (c == '-' && IsDigit(Peek(1)))) {
      LexNumber();
    } else if (c == '\'' || c == '#') {
      LexString();
    } else {
      Tok.Kind = TTok::Symbol;
      Tok.Text.assign(1, c);
      Advance();
    }
  }

  void LexNumber() {
    size_t start = I;
    bool isFloat = false;
    if (S[I] == '-') Advance();
    while (IsDigit(Peek())) Advance();
    if (Peek() == '.' && IsDigit(Peek(1))) {
      isFloat = true;
      Advance();
      while (IsDigit(Peek())) Advance();
    }
    if (Peek() == 'e' || Peek() == 'E') {
      size_t save = I;
      TPos savePos = P;
      Advance();
      if (Peek() == '+' || Peek() == '-') Advance();
      if (IsDigit(Peek())) {
        isFloat = true;
        while (IsDigit(Peek())) Advance();
      } else {
        I = save;
        P = savePos;
      }
    }
    // "400.5.5": saying what the whole value is beats pointing at its second half.
    if (isFloat && Peek() == '.' && IsDigit(Peek(1))) {
      size_t end = I;
      while (end < S.size() && (IsDigit(S[end]) || S[end] == '.')) ++end;
      throw EReadError(Tok.Pos.Line, Tok.Pos.Column,
                       "expected a number, found " + std::string(S.substr(start, end - start)) +
                           " (a number has one decimal point at most)");
    }
    if (IsIdentChar(Peek())) Fail(P, "a number (or a space after it)");
    std::string text(S.substr(start, I - start));
    errno = 0;
    if (isFloat) {
      Tok.Kind = TTok::Float;
      Tok.Float = std::strtod(text.c_str(), nullptr);
      if (!std::isfinite(Tok.Float)) Fail(Tok.Pos, "a number within range");
    } else {
      Tok.Kind = TTok::Integer;
      long long v = std::strtoll(text.c_str(), nullptr, 10);
      if (errno == ERANGE) Fail(Tok.Pos, "an integer within range");
      Tok.Int = v;
    }
  }

  // Quoted pieces and #n characters written next to each other form one string.
  void LexString() {
    Tok.Kind = TTok::String;
    std::u16string units;
    std::string raw;  // UTF-8 inside quotes, converted per piece
    for (;;) {
      char c = Peek();
      if (c == '\'') {
        TPos open = P;
        Advance();
        raw.clear();
        for (;;) {
          if (I >= S.size() || S[I] == '\n' || S[I] == '\r')
            Fail(open, "a closing quote on the same line as the string that starts here");
          if (S[I] == '\'') {
            if (Peek(1) == '\'') {
              raw += '\'';
              Advance();
              Advance();
              continue;
            }
            Advance();
            break;
          }
          size_t n = Utf8Length(S, I);
          raw.append(S.substr(I, n));
          CheckStringLength(units.size() + raw.size(), Tok.Pos);
          Advance();
        }
        units += Utf8ToUtf16(raw);
      } else if (c == '#') {
        TPos at = P;
        Advance();
        uint32_t v = 0;
        bool any = false;
        if (Peek() == '$') {
          Advance();
          while (HexDigit(Peek()) >= 0) {
            v = v * 16 + static_cast<uint32_t>(HexDigit(Peek()));
            if (v > 0xFFFF) Fail(at, "a character code from #0 to #65535");
            any = true;
            Advance();
          }
        } else {
          while (IsDigit(Peek())) {
            v = v * 10 + static_cast<uint32_t>(Peek() - '0');
            if (v > 0xFFFF) Fail(at, "a character code from #0 to #65535");
            any = true;
            Advance();
          }
        }
        if (!any) Fail(at, "digits after '#'");
        units += static_cast<char16_t>(v);
        CheckStringLength(units.size(), Tok.Pos);
      } else {
        break;
      }
    }
    if (!Utf16ToUtf8(units, Tok.Text))
      Fail(Tok.Pos, "a string without unpaired surrogate characters");
    CheckStringLength(Tok.Text.size(), Tok.Pos);
  }

  // Also called while a string is still being collected (every unit and byte takes at
  // least one byte of UTF-8), so an endless string is stopped before it is held whole.
  void CheckStringLength(size_t Bytes, TPos Start) {
    if (Bytes > L.MaxStringBytes)
      Fail(Start, "a string of at most " + std::to_string(L.MaxStringBytes) + " bytes");
  }

  void CountObject(TPos At) {
    if (++Objects > L.MaxObjects)
      Fail(At, "at most " + std::to_string(L.MaxObjects) + " objects and collection items");
  }

  bool IsWord(const char* W) const { return Tok.Kind == TTok::Ident && SameWord(Tok.Text, W); }
  bool IsSymbol(char C) const { return Tok.Kind == TTok::Symbol && Tok.Text[0] == C; }
  void Expect(char C, const std::string& What) {
    if (!IsSymbol(C)) Fail(Tok.Pos, What);
    Next();
  }

  std::unique_ptr<TObjectNode> ParseObject(int Depth) {
    if (Depth > L.MaxDepth)
      Fail(Tok.Pos, "objects nested no deeper than " + std::to_string(L.MaxDepth) + " levels");
    CountObject(Tok.Pos);
    auto node = std::make_unique<TObjectNode>();
    node->Pos = Tok.Pos;
    Next();  // 'object'
    if (Tok.Kind != TTok::Ident) Fail(Tok.Pos, "an object name or class name after 'object'");
    std::string first = Tok.Text;
    TPos firstPos = Tok.Pos;
    Next();
    if (IsSymbol(':')) {
      Next();
      if (Tok.Kind != TTok::Ident) Fail(Tok.Pos, "a class name after ':'");
      node->Name = first;
      node->ClassName = Tok.Text;
      node->ClassPos = Tok.Pos;
      Next();
    } else {
      node->ClassName = first;
      node->ClassPos = firstPos;
    }
    for (;;) {
      // Reported where the text ran out, since that is where the 'end' is missing.
      if (Tok.Kind == TTok::End)
        Fail(Tok.Pos, "'end' closing the object " + (node->Name.empty() ? node->ClassName : node->Name) +
                          " (which starts at line " + std::to_string(node->Pos.Line) +
                          "), found the end of the text");
      if (IsWord("end")) {
        Next();
        return node;
      }
      if (IsWord("object")) {
        node->Children.push_back(ParseObject(Depth + 1));
        continue;
      }
      node->Props.push_back(ParseProperty(Depth));
    }
  }

  TProperty ParseProperty(int Depth) {
    TProperty prop;
    prop.Pos = Tok.Pos;
    if (Tok.Kind != TTok::Ident) Fail(Tok.Pos, "a property name, 'object' or 'end'");
    if (++Properties > L.MaxProperties)
      Fail(Tok.Pos, "at most " + std::to_string(L.MaxProperties) + " property assignments");
    prop.Name = Tok.Text;
    Next();
    while (IsSymbol('.')) {
      Next();
      if (Tok.Kind != TTok::Ident) Fail(Tok.Pos, "a property name after '.'");
      prop.Name += '.';
      prop.Name += Tok.Text;
      Next();
    }
    Expect('=', "'=' after the property name " + prop.Name);
    prop.Value = ParseValue(Depth);
    return prop;
  }

  TValue ParseValue(int Depth) {
    TValue v;
    v.Pos = Tok.Pos;
    switch (Tok.Kind) {
      case TTok::Integer:
        v.Kind = TValue::TKind::Integer;
        v.Int = Tok.Int;
        Next();
        return v;
      case TTok::Float:
        v.Kind = TValue::TKind::Float;
        v.Float = Tok.Float;
        Next();
        return v;
      case TTok::String:
        v.Kind = TValue::TKind::String;
        v.Text = Tok.Text;
        Next();
        while (IsSymbol('+')) {
          Next();
          if (Tok.Kind != TTok::String) Fail(Tok.Pos, "a string after '+'");
          CheckStringLength(v.Text.size() + Tok.Text.size(), v.Pos);
          v.Text += Tok.Text;
          Next();
        }
        return v;
      case TTok::Ident:
        v.Kind = TValue::TKind::Ident;
        v.Text = Tok.Text;
        Next();
        return v;
      case TTok::Symbol:
        break;
      case TTok::End:
        Fail(Tok.Pos, "a value after '='");
    }
    char c = Tok.Text[0];
    if (c == '[') {
      v.Kind = TValue::TKind::Set;
      Next();
      if (!IsSymbol(']')) {
        for (;;) {
          if (Tok.Kind != TTok::Ident) Fail(Tok.Pos, "a set element name");
          if (v.Names.size() >= L.MaxSetElements)
            Fail(Tok.Pos, "at most " + std::to_string(L.MaxSetElements) + " elements in a set");
          v.Names.push_back(Tok.Text);
          v.NamePos.push_back(Tok.Pos);
          Next();
          if (IsSymbol(']')) break;
          Expect(',', "',' or ']' in the set");
        }
      }
      Next();
      return v;
    }
    if (c == '{') {
      v.Kind = TValue::TKind::Binary;
      ParseBinary(v);
      return v;
    }
    if (c == '<') {
      v.Kind = TValue::TKind::Collection;
      ParseCollection(v, Depth);
      return v;
    }
    Fail(Tok.Pos, "a value (number, string, identifier, [set], {binary} or <collection>)");
  }

  // The token '{' has been read by the lexer; the hex digits are read here directly.
  void ParseBinary(TValue& V) {
    TPos open = Tok.Pos;
    int high = -1;
    TPos highPos;
    for (;;) {
      if (I >= S.size()) Fail(open, "'}' closing the binary data that starts here");
      char c = S[I];
      if (c == '}') {
        if (high >= 0) Fail(highPos, "an even number of hex digits");
        Advance();
        break;
      }
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Advance();
        continue;
      }
      int d = HexDigit(c);
      if (d < 0) Fail(P, "a hex digit or '}' in binary data");
      if (high < 0) {
        high = d;
        highPos = P;
      } else {
        if (V.Bytes.size() >= L.MaxBinaryBytes)
          Fail(open, "binary data of at most " + std::to_string(L.MaxBinaryBytes) + " bytes");
        V.Bytes.push_back(static_cast<uint8_t>(high * 16 + d));
        high = -1;
      }
      Advance();
    }
    Next();
  }

  void ParseCollection(TValue& V, int Depth) {
    TPos open = Tok.Pos;
    Next();
    for (;;) {
      if (IsSymbol('>')) {
        Next();
        return;
      }
      if (Tok.Kind == TTok::End) Fail(open, "'>' closing the collection that starts here");
      if (!IsWord("item")) Fail(Tok.Pos, "'item' or '>' in the collection");
      if (Depth + 1 > L.MaxDepth)
        Fail(Tok.Pos, "items nested no deeper than " + std::to_string(L.MaxDepth) + " levels");
      CountObject(Tok.Pos);
      TItem item;
      item.Pos = Tok.Pos;
      Next();
      for (;;) {
        if (Tok.Kind == TTok::End) Fail(item.Pos, "'end' closing the item that starts here");
        if (IsWord("end")) {
          Next();
          break;
        }
        item.Props.push_back(ParseProperty(Depth + 1));
      }
      V.Items.push_back(std::move(item));
    }
  }

  std::string_view S;
  const TReadLimits& L;
  size_t Objects = 0, Properties = 0;
  size_t I = 0;
  TPos P;
  TToken Tok;
};

struct TNamedColor {
  const char* Name;
  uint32_t Value;
};
// The names the writer uses; the first name of a value wins.
constexpr TNamedColor kColors[] = {
    {"Null", 0x00000000},      {"Black", 0xFF000000},     {"White", 0xFFFFFFFF},
    {"Red", 0xFFFF0000},       {"Green", 0xFF008000},     {"Lime", 0xFF00FF00},
    {"Blue", 0xFF0000FF},      {"Yellow", 0xFFFFFF00},    {"Aqua", 0xFF00FFFF},
    {"Fuchsia", 0xFFFF00FF},   {"Gray", 0xFF808080},      {"Silver", 0xFFC0C0C0},
    {"Maroon", 0xFF800000},    {"Navy", 0xFF000080},      {"Olive", 0xFF808000},
    {"Purple", 0xFF800080},    {"Teal", 0xFF008080},      {"Orange", 0xFFFFA500},
    {"Darkred", 0xFF8B0000},   {"Darkgray", 0xFFA9A9A9},  {"Lightgray", 0xFFD3D3D3},
    {"Cornflowerblue", 0xFF6495ED}, {"Whitesmoke", 0xFFF5F5F5}, {"Gainsboro", 0xFFDCDCDC},
    {"Dimgray", 0xFF696969},   {"Dodgerblue", 0xFF1E90FF}, {"Steelblue", 0xFF4682B4},
    {"Skyblue", 0xFF87CEEB},   {"Gold", 0xFFFFD700},      {"Darkgreen", 0xFF006400},
    {"Crimson", 0xFFDC143C},   {"Firebrick", 0xFFB22222}, {"Orangered", 0xFFFF4500},
    {"Seagreen", 0xFF2E8B57},  {"Slategray", 0xFF708090}, {"Aliceblue", 0xFFF0F8FF},
    {"Ivory", 0xFFFFFFF0},     {"Beige", 0xFFF5F5DC},     {"Tomato", 0xFFFF6347},
    {"Coral", 0xFFFF7F50},     {"Salmon", 0xFFFA8072},    {"Pink", 0xFFFFC0CB},
    {"Violet", 0xFFEE82EE},    {"Indigo", 0xFF4B0082},    {"Brown", 0xFFA52A2A},
    {"Chocolate", 0xFFD2691E}, {"Tan", 0xFFD2B48C},       {"Khaki", 0xFFF0E68C},
    {"Cyan", 0xFF00FFFF},      {"Magenta", 0xFFFF00FF},   {"Grey", 0xFF808080},
};

}  // namespace

std::unique_ptr<TObjectNode> Parse(std::string_view Text, const TReadLimits& Limits) {
  return TParser(Text, Limits).Run();
}

std::u16string Utf8ToUtf16(std::string_view In) {
  std::u16string out;
  for (size_t i = 0; i < In.size();) {
    size_t n = Utf8Length(In, i);
    if (n == 0) n = 1;  // callers pass checked text; stray bytes become U+FFFD
    uint32_t cp;
    auto b = static_cast<unsigned char>(In[i]);
    if (n == 1)
      cp = b < 0x80 ? b : 0xFFFD;
    else {
      cp = b & (n == 2 ? 0x1F : n == 3 ? 0x0F : 0x07);
      for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(In[i + k]) & 0x3F);
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (cp >> 10));
      out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
    i += n;
  }
  return out;
}

bool Utf16ToUtf8(const std::u16string& In, std::string& Out) {
  Out.clear();
  for (size_t i = 0; i < In.size(); ++i) {
    uint32_t cp = In[i];
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i + 1 >= In.size() || In[i + 1] < 0xDC00 || In[i + 1] > 0xDFFF) return false;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (In[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
      return false;
    }
    if (cp < 0x80) {
      Out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      Out += static_cast<char>(0xC0 | (cp >> 6));
      Out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      Out += static_cast<char>(0xE0 | (cp >> 12));
      Out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      Out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      Out += static_cast<char>(0xF0 | (cp >> 18));
      Out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      Out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      Out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return true;
}

std::string QuoteString(std::string_view Utf8, int Indent) {
  // Pieces of at most this many characters keep long texts readable in a diff.
  constexpr size_t kPiece = 64;
  std::u16string units = Utf8ToUtf16(Utf8);
  std::vector<std::string> pieces;
  for (size_t start = 0; start < units.size() || pieces.empty(); start += kPiece) {
    std::string piece;
    bool inQuote = false;
    for (size_t i = start; i < units.size() && i < start + kPiece; ++i) {
      char16_t u = units[i];
      if (u >= 32 && u < 127) {
        if (!inQuote) piece += '\'';
        inQuote = true;
        piece += static_cast<char>(u);
        if (u == '\'') piece += '\'';
      } else {
        if (inQuote) piece += '\'';
        inQuote = false;
        piece += '#' + std::to_string(static_cast<unsigned>(u));
      }
    }
    if (inQuote) piece += '\'';
    if (piece.empty()) piece = "''";
    pieces.push_back(std::move(piece));
    if (units.empty()) break;
  }
  if (pieces.size() == 1) return " " + pieces[0];
  std::string out;
  std::string pad(static_cast<size_t>(Indent + 2), ' ');
  for (size_t i = 0; i < pieces.size(); ++i) {
    out += '\n' + pad + pieces[i];
    if (i + 1 < pieces.size()) out += " +";
  }
  return out;
}

std::string FormatFloat(double V) {
  if (!std::isfinite(V)) V = 0;
  char buf[64];
  double a = std::fabs(V);
  if (a == 0 || (a >= 1e-4 && a < 1e15))
    std::snprintf(buf, sizeof buf, "%.18f", V);
  else
    std::snprintf(buf, sizeof buf, "%.18E", V);
  return buf;
}

std::string FormatColor(uint32_t C) {
  for (const auto& n : kColors)
    if (n.Value == C) return std::string("cla") + n.Name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "x%08X", C);
  return buf;
}

bool ParseColor(std::string_view Ident, uint32_t& Out) {
  if (Ident.size() == 9 && (Ident[0] == 'x' || Ident[0] == 'X')) {
    uint32_t v = 0;
    for (size_t i = 1; i < 9; ++i) {
      int d = HexDigit(Ident[i]);
      if (d < 0) return false;
      v = v * 16 + static_cast<uint32_t>(d);
    }
    Out = v;
    return true;
  }
  if (Ident.size() > 3 && SameWord(Ident.substr(0, 3), "cla")) {
    for (const auto& n : kColors)
      if (SameWord(Ident.substr(3), n.Name)) {
        Out = n.Value;
        return true;
      }
  }
  return false;
}

std::string FormatBinary(const std::vector<uint8_t>& Bytes, int Indent) {
  static const char* kHex = "0123456789ABCDEF";
  if (Bytes.empty()) return " {}";
  std::string pad(static_cast<size_t>(Indent + 2), ' ');
  std::string out = " {";
  for (size_t i = 0; i < Bytes.size(); ++i) {
    if (i % 32 == 0) out += '\n' + pad;
    out += kHex[Bytes[i] >> 4];
    out += kHex[Bytes[i] & 15];
  }
  out += '}';
  return out;
}

}  // namespace fmx::formtext
