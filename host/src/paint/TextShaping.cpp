// The shared Pango context and the two caches: shaped layouts for drawing and plain
// sizes for measuring. Shaping costs microseconds a text; a frame draws dozens of
// texts and measuring runs on every paint, so both are looked up, not redone.
#include "paint/TextShaping.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "paint/WebdingsSymbols.h"

namespace fmx::text {

size_t KeyHash::operator()(const KeyView& K) const noexcept {
  size_t H = std::hash<std::string_view>{}(K.Text);
  auto Mix = [&H](size_t V) { H ^= V + 0x9E3779B97F4A7C15ull + (H << 6) + (H >> 2); };
  Mix(std::hash<std::string_view>{}(K.Family));
  uint32_t SizeBits;
  std::memcpy(&SizeBits, &K.Size, sizeof SizeBits);
  Mix(SizeBits);
  Mix(static_cast<size_t>(K.Style));
  Mix(static_cast<size_t>(static_cast<uint32_t>(K.Width)));
  Mix(K.Flags);
  return H;
}

namespace {

constexpr size_t LayoutCacheCapacity = 512;
uint64_t gGeneration = 2;
constexpr size_t MeasureCacheCapacity = 8192;

void DisposeShaped(Shaped& S) {
  if (S.Layout) g_object_unref(S.Layout);
  S.Layout = nullptr;
}

// Owns the font map, the context and the caches; torn down at exit so that leak
// checkers see every Pango object freed.
struct Engine {
  PangoFontMap* FontMap = nullptr;
  PangoContext* Ctx = nullptr;
  LruCache<Shaped> Layouts{LayoutCacheCapacity, DisposeShaped};
  LruCache<TSizeF> Sizes{MeasureCacheCapacity, nullptr};
  // One layout kept for measuring: making a layout and a font description for each new
  // text cost about as much as shaping it. Its font is set again only when it changes.
  PangoLayout* Measurer = nullptr;
  std::string MeasurerFamily;
  float MeasurerSize = -1;
  uint64_t MeasurerStyle = ~uint64_t{0};

  Engine() {
    FontMap = pango_cairo_font_map_new();
    Ctx = pango_font_map_create_context(FontMap);
    cairo_font_options_t* Options = cairo_font_options_create();
    cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(Ctx, Options);
    cairo_font_options_destroy(Options);
    pango_cairo_context_set_resolution(Ctx, 96);
  }
  ~Engine() {
    if (Measurer != nullptr) g_object_unref(Measurer);
    Layouts.Clear();
    Sizes.Clear();
    g_object_unref(Ctx);
    g_object_unref(FontMap);
  }
};

Engine& TheEngine() {
  static Engine E;
  return E;
}

constexpr uint8_t WrapFlag = 1;
uint8_t AlignBits(TTextAlign A) { return static_cast<uint8_t>((static_cast<int>(A) + 1) << 1); }

int WidthUnits(float Width, bool Wrap) {
  if (!Wrap || !(Width >= 0)) return -1;
  // At least one pixel: a zero width would put every character on a line of its own
  // and a huge one must not overflow Pango's int.
  const float Clamped = std::clamp(Width, 1.0f, 1e6f);
  return static_cast<int>(std::lround(Clamped * PANGO_SCALE));
}

KeyView MakeKey(const TFont& Font, std::string_view Text, int Width, uint8_t Flags) {
  return {Font.Family(), Font.Size(), Font.Style().Bits(), Text, Width, Flags};
}

void SetFont(PangoLayout* L, const TFont& Font) {
  PangoFontDescription* Desc = pango_font_description_new();
  pango_font_description_set_family(Desc, Font.Family().c_str());
  pango_font_description_set_absolute_size(Desc, std::max(1.0, Font.Size() * double{PANGO_SCALE}));
  const TFontStyles Style = Font.Style();
  pango_font_description_set_weight(
      Desc, Style.Contains(TFontStyle::fsBold) ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(
      Desc, Style.Contains(TFontStyle::fsItalic) ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_layout_set_font_description(L, Desc);
  pango_font_description_free(Desc);
  if (Style.Contains(TFontStyle::fsUnderline) || Style.Contains(TFontStyle::fsStrikeOut)) {
    PangoAttrList* Attrs = pango_attr_list_new();
    if (Style.Contains(TFontStyle::fsUnderline))
      pango_attr_list_insert(Attrs, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
    if (Style.Contains(TFontStyle::fsStrikeOut))
      pango_attr_list_insert(Attrs, pango_attr_strikethrough_new(TRUE));
    pango_layout_set_attributes(L, Attrs);
    pango_attr_list_unref(Attrs);
  } else {
    pango_layout_set_attributes(L, nullptr);
  }
}

PangoLayout* NewLayout(const TFont& Font, std::string_view Text, int Width, TTextAlign Align) {
  PangoLayout* L = pango_layout_new(TheEngine().Ctx);
  SetFont(L, Font);
  // Pango replaces invalid UTF-8 itself; the length keeps embedded NULs from
  // cutting the text short.
  pango_layout_set_text(L, Text.data(), static_cast<int>(Text.size()));
  if (Width >= 0) {
    pango_layout_set_width(L, Width);
    pango_layout_set_wrap(L, PANGO_WRAP_WORD_CHAR);
  }
  pango_layout_set_alignment(L, Align == TTextAlign::Center     ? PANGO_ALIGN_CENTER
                                : Align == TTextAlign::Trailing ? PANGO_ALIGN_RIGHT
                                                                : PANGO_ALIGN_LEFT);
  return L;
}

Shaped ShapeNew(const TFont& Font, std::string_view Text, int Width, TTextAlign Align) {
  Shaped S;
  S.Layout = NewLayout(Font, Text, Width, Align);
  PangoRectangle Logical;
  pango_layout_get_extents(S.Layout, nullptr, &Logical);
  S.X = static_cast<float>(Logical.x) / PANGO_SCALE;
  S.Y = static_cast<float>(Logical.y) / PANGO_SCALE;
  S.W = static_cast<float>(Logical.width) / PANGO_SCALE;
  S.H = static_cast<float>(Logical.height) / PANGO_SCALE;
  return S;
}

// The logical size of Text, as ShapeNew would give it, on the kept layout.
TSizeF MeasureOnKeptLayout(const TFont& Font, std::string_view Text, int Width) {
  Engine& E = TheEngine();
  if (E.Measurer == nullptr) E.Measurer = pango_layout_new(E.Ctx);
  PangoLayout* L = E.Measurer;
  const uint64_t Style = Font.Style().Bits();
  if (Font.Family() != E.MeasurerFamily || Font.Size() != E.MeasurerSize || Style != E.MeasurerStyle) {
    SetFont(L, Font);
    E.MeasurerFamily = Font.Family();
    E.MeasurerSize = Font.Size();
    E.MeasurerStyle = Style;
  }
  pango_layout_set_text(L, Text.data(), static_cast<int>(Text.size()));
  pango_layout_set_width(L, Width >= 0 ? Width : -1);
  pango_layout_set_wrap(L, PANGO_WRAP_WORD_CHAR);
  PangoRectangle Logical;
  pango_layout_get_extents(L, nullptr, &Logical);
  return {static_cast<float>(Logical.width) / PANGO_SCALE, static_cast<float>(Logical.height) / PANGO_SCALE};
}

TSizeF MeasureWebdings(const TFont& Font, std::string_view Text, float Width, bool Wrap) {
  // Symbols take one em each; the rest is measured in the default family, and the
  // line is as tall as a line of that family.
  const TFont Plain(DefaultFontFamily, Font.Size(), Font.Style());
  TSizeF Total = Measure(Plain, "", -1, false);
  Total.Width = 0;
  for (const webdings::Run& R : webdings::Split(Text)) {
    if (R.Symbol) {
      Total.Width += static_cast<float>(webdings::Advance(Font.Size()));
    } else {
      const TSizeF S = Measure(Plain, R.Text, Width, Wrap);
      Total.Width += S.Width;
      Total.Height = std::max(Total.Height, S.Height);
    }
  }
  return Total;
}

}  // namespace

PangoContext* Context() { return TheEngine().Ctx; }

LayoutRef AcquireLayout(const TFont& Font, std::string_view Text, float Width, bool Wrap,
                        TTextAlign Align) {
  Engine& E = TheEngine();
  const int Units = WidthUnits(Width, Wrap);
  const KeyView Key = MakeKey(Font, Text, Units, static_cast<uint8_t>((Units >= 0 ? WrapFlag : 0) |
                                                                      AlignBits(Align)));
  if (Shaped* Hit = E.Layouts.Find(Key)) return LayoutRef(*Hit);
  Shaped S = ShapeNew(Font, Text, Units, Align);
  try {
    return LayoutRef(E.Layouts.Insert(Key, S));
  } catch (...) {
    DisposeShaped(S);
    throw;
  }
}

TSizeF Measure(const TFont& Font, std::string_view Text, float Width, bool Wrap) {
  if (!(Font.Size() > 0)) return {};
  Engine& E = TheEngine();
  const int Units = WidthUnits(Width, Wrap);
  const KeyView Key = MakeKey(Font, Text, Units, Units >= 0 ? WrapFlag : 0);
  if (TSizeF* Hit = E.Sizes.Find(Key)) return *Hit;
  TSizeF Size;
  if (webdings::IsFamily(Font.Family())) {
    Size = MeasureWebdings(Font, Text, Width, Wrap);
  } else {
    Size = MeasureOnKeptLayout(Font, Text, Units);
  }
  E.Sizes.Insert(Key, Size);
  return Size;
}

uint64_t Generation() { return gGeneration; }

void FrameDone() { ++gGeneration; }

void ClearCaches() {
  Engine& E = TheEngine();
  E.Layouts.Clear();
  E.Sizes.Clear();
}

}  // namespace fmx::text
