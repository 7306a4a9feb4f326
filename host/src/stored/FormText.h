// The parsed form text: a tree of objects with their property values, positions kept
// for messages. The parser checks syntax only; classes and properties are the
// reader's business.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Streaming.h"

namespace fmx::formtext {

struct TPos {
  int Line = 1, Column = 1;
};

struct TProperty;

struct TItem {
  TPos Pos;
  std::vector<TProperty> Props;
};

struct TValue {
  enum class TKind { Integer, Float, String, Ident, Set, Binary, Collection };
  TKind Kind = TKind::Integer;
  TPos Pos;
  int64_t Int = 0;
  double Float = 0;
  std::string Text;  // String (UTF-8), Ident
  std::vector<std::string> Names;   // Set
  std::vector<TPos> NamePos;        // Set
  std::vector<uint8_t> Bytes;       // Binary
  std::vector<TItem> Items;         // Collection
};

struct TProperty {
  std::string Name;  // dotted
  TPos Pos;
  TValue Value;
};

struct TObjectNode {
  std::string Name;  // may be empty
  std::string ClassName;
  TPos Pos, ClassPos;
  std::vector<TProperty> Props;
  std::vector<std::unique_ptr<TObjectNode>> Children;
};

// Throws EReadError naming the position and what was expected there, also when the
// text goes beyond one of Limits.
std::unique_ptr<TObjectNode> Parse(std::string_view Text, const TReadLimits& Limits = {});

// Checks the text of a style tree (root a visual object) without creating anything.
void ValidateStyleText(std::string_view Text);

// The writer's spelling of values.
std::string QuoteString(std::string_view Utf8, int Indent);
std::string FormatFloat(double V);
std::string FormatColor(uint32_t C);
std::string FormatBinary(const std::vector<uint8_t>& Bytes, int Indent);
// Colour from an identifier (cla name or xAARRGGBB); false when it is neither.
bool ParseColor(std::string_view Ident, uint32_t& Out);
// UTF-16 code units to UTF-8; false on an unpaired surrogate.
bool Utf16ToUtf8(const std::u16string& In, std::string& Out);
std::u16string Utf8ToUtf16(std::string_view In);

}  // namespace fmx::formtext
