// Reading shortcut texts and caption letters into keys.
#include <cctype>
#include <string_view>

#include "FMX.QVMenus.h"
#include "host/Keys.h"

namespace fmx {

namespace {

bool SameWord(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i])))
      return false;
  return true;
}

bool AnyOf(std::string_view Word, std::initializer_list<std::string_view> Names) {
  for (std::string_view n : Names)
    if (SameWord(Word, n)) return true;
  return false;
}

// The vk code a key name stands for; 0 for none.
uint16_t KeyNamed(std::string_view W) {
  if (W.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(W[0])));
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
    return 0;
  }
  if ((W[0] == 'F' || W[0] == 'f') && W.size() <= 3) {
    int n = 0;
    for (char c : W.substr(1)) {
      if (c < '0' || c > '9') return 0;
      n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= 12 ? static_cast<uint16_t>(vk::F1 + n - 1) : 0;
  }
  struct TName {
    std::string_view Names[3];
    uint16_t Key;
  };
  static const TName kNames[] = {
      {{"Enter", "Return"}, vk::Return},     {{"Esc", "Escape"}, vk::Escape},
      {{"Space"}, vk::Space},                {{"Tab"}, vk::Tab},
      {{"Backspace", "Back", "Bksp"}, vk::Back}, {{"Del", "Delete"}, vk::Delete},
      {{"Ins", "Insert"}, vk::Insert},       {{"Home"}, vk::Home},
      {{"End"}, vk::End},                    {{"PgUp", "PageUp"}, vk::Prior},
      {{"PgDn", "PageDown"}, vk::Next},      {{"Left"}, vk::Left},
      {{"Right"}, vk::Right},                {{"Up"}, vk::Up},
      {{"Down"}, vk::Down},
  };
  for (const TName& n : kNames)
    for (std::string_view name : n.Names)
      if (!name.empty() && SameWord(W, name)) return n.Key;
  return 0;
}

// One word such as "Ctrl+Shift+N": modifiers, each once, then exactly one key.
TQVShortCut ParseWord(std::string_view Word) {
  TQVShortCut out;
  size_t start = 0;
  while (true) {
    const size_t plus = Word.find('+', start);
    const std::string_view part = Word.substr(start, plus == std::string_view::npos ? plus : plus - start);
    if (part.empty()) return {};
    if (plus == std::string_view::npos) {
      out.Key = KeyNamed(part);
      break;
    }
    TShiftStateItem m;
    if (AnyOf(part, {"Ctrl", "Control", "Ctl"})) m = TShiftStateItem::ssCtrl;
    else if (AnyOf(part, {"Shift"})) m = TShiftStateItem::ssShift;
    else if (AnyOf(part, {"Alt"})) m = TShiftStateItem::ssAlt;
    else return {};
    if (out.Shift.Contains(m)) return {};
    out.Shift.Include(m);
    start = plus + 1;
  }
  if (out.Key == 0) return {};
  const bool commanding = out.Shift.Contains(TShiftStateItem::ssCtrl) ||
                          out.Shift.Contains(TShiftStateItem::ssAlt);
  const bool inert = (out.Key >= vk::F1 && out.Key <= vk::F12) || out.Key == vk::Insert ||
                     out.Key == vk::Delete;
  return commanding || inert ? out : TQVShortCut{};
}

bool Separates(unsigned char C) {
  return C >= 0x80 || std::isspace(C) || C == '(' || C == ')' || C == '[' || C == ']' ||
         C == '<' || C == '>' || C == ',' || C == ';' || C == '/' || C == '|';
}

}  // namespace

TQVShortCut QVParseShortCut(const std::string& Text) {
  // "Ctrl + S" is one word: blanks next to a plus are dropped first.
  std::string packed;
  for (size_t i = 0; i < Text.size(); ++i) {
    const char c = Text[i];
    if (c == ' ') {
      const size_t next = Text.find_first_not_of(' ', i);
      const bool beforePlus = next != std::string::npos && Text[next] == '+';
      const bool afterPlus = !packed.empty() && packed.back() == '+';
      if (beforePlus || afterPlus) continue;
    }
    packed += c;
  }
  size_t i = 0;
  while (i < packed.size()) {
    while (i < packed.size() && Separates(static_cast<unsigned char>(packed[i]))) ++i;
    size_t end = i;
    while (end < packed.size() && !Separates(static_cast<unsigned char>(packed[end]))) ++end;
    if (end > i) {
      const TQVShortCut s = ParseWord(std::string_view(packed).substr(i, end - i));
      if (s.Valid()) return s;
    }
    i = end;
  }
  return {};
}

namespace {
// Where a caption's access letter stands: "(F)" or "（F）" around one ASCII letter or
// digit. Begin and End take in the brackets; Letter is the letter, 0 when there is none.
struct TMnemonicSpan {
  size_t Begin = 0, End = 0;
  char Letter = 0;
};
TMnemonicSpan FindMnemonic(std::string_view Text) {
  static const std::string_view kOpen[] = {"(", "\xEF\xBC\x88"};    // ( and （
  static const std::string_view kClose[] = {")", "\xEF\xBC\x89"};  // ) and ）
  for (size_t i = 0; i < Text.size(); ++i) {
    for (std::string_view open : kOpen) {
      if (Text.substr(i, open.size()) != open) continue;
      const size_t at = i + open.size();
      if (at >= Text.size()) continue;
      const unsigned char c = static_cast<unsigned char>(Text[at]);
      if (!std::isalnum(c) || c >= 0x80) continue;
      for (std::string_view close : kClose)
        if (Text.substr(at + 1, close.size()) == close)
          return {i, at + 1 + close.size(), static_cast<char>(c)};
    }
  }
  return {};
}
}  // namespace

char QVMenuMnemonic(const std::string& Caption) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(FindMnemonic(Caption).Letter)));
}

std::string QVMenuCaptionWithoutMnemonic(const std::string& Caption) {
  const TMnemonicSpan m = FindMnemonic(Caption);
  if (m.Letter == 0) return Caption;
  std::string out = Caption.substr(0, m.Begin) + Caption.substr(m.End);
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace fmx

namespace fmx {

const TQVShortCut& TQVMenuButton::ShortCutKey() const {
  if (FShortCutRead != FShortCut) {
    FShortCutRead = FShortCut;
    FShortCutKey = QVParseShortCut(FShortCut);
  }
  return FShortCutKey;
}

bool TQVMenuButton::ShortCutIsDisplayOnly() const {
  return !ShortCutKey().Valid() && FShortCut.find_first_not_of(" \t") != std::string::npos;
}

}  // namespace fmx
