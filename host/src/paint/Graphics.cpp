// Brushes, fonts, text settings and bitmaps (PNG through Cairo's PNG reader and
// writer). Path data parsing lives in PathData.cpp.
#include "host/Graphics.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <mutex>
#include <unordered_map>
#include <unordered_set>


namespace fmx {

// ---------------------------------------------------------------------------
// Change notification

namespace {
const TNotifyEvent kNoHandler;
// The handlers of the values that have one. Never freed: values in static storage may
// go after it at exit. Node-based, so a handler keeps its place while others come.
std::unordered_map<const TChangeNotifier*, TNotifyEvent>& Handlers() {
  static auto* handlers = new std::unordered_map<const TChangeNotifier*, TNotifyEvent>();
  return *handlers;
}
}  // namespace

TChangeNotifier::~TChangeNotifier() {
  if (FHasHandler) Handlers().erase(this);
}

TNotifyEvent& TChangeNotifier::Handler() const { return Handlers().find(this)->second; }

bool TChangeNotifier::QueueFree() {
  // A value freed by a handler while it tells of a change stays readable to the end
  // of the dispatch; outside one it goes at once.
  if (FFreeQueued) return true;
  if (!TDispatchScope::Open()) return false;
  FFreeQueued = true;
  EnqueueFree(this);
  return true;
}

const TNotifyEvent& TChangeNotifier::OnChange() const {
  return FHasHandler ? Handler() : kNoHandler;
}

void TChangeNotifier::SetOnChange(TNotifyEvent Value) {
  if (FHasHandler) {
    Handler() = std::move(Value);
  } else if (Value) {
    Handlers().emplace(this, std::move(Value));
    FHasHandler = true;
  }
}

void TChangeNotifier::Changed() {
  if (FMuted) return;
  if (!FHasHandler || !Handler()) {
    HolderChanged();
    return;
  }
  // The holder's listener can reach application code (text settings tell their own
  // handler when their font changes) that frees the holder and this value with it.
  TDispatchScope scope;
  HolderChanged();
  if (IsDestroying() || !Handler()) return;
  // A copy runs: the handler may free this value's holder, and with it the handler.
  const TNotifyEvent handler = Handler();
  handler(this);
}

// ---------------------------------------------------------------------------
// Brushes

void TBrush::SetKind(TBrushKind Value) {
  Update(FKind, Value);
}

void TBrush::SetColor(TAlphaColor Value) {
  Update(FColor, Value);
}

void TBrush::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TBrush*>(Source);
  if (Src == nullptr) {
    TChangeNotifier::Assign(Source);
    return;
  }
  if (FKind == Src->FKind && FColor == Src->FColor) return;
  FKind = Src->FKind;
  FColor = Src->FColor;
  Changed();
}

namespace {
// A thickness that cannot be drawn (NaN, negative, absurdly large) would either
// poison Cairo's state or stall the rasteriser; keep it in a drawable range.
float SanitizeThickness(float V) {
  if (std::isnan(V) || V < 0) return 0;
  return std::min(V, 10000.0f);
}
}  // namespace

void TStrokeBrush::SetThickness(float Value) {
  Value = SanitizeThickness(Value);
  Update(FThickness, Value);
}

void TStrokeBrush::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TStrokeBrush*>(Source);
  if (Src == nullptr) {
    // A plain brush carries kind and colour only; the thickness stays.
    TBrush::Assign(Source);
    return;
  }
  const bool Same =
      Kind() == Src->Kind() && Color() == Src->Color() && FThickness == Src->FThickness;
  if (Same) return;
  // Copy silently, then report once.
  {
    TMute mute(*this);
    TBrush::Assign(Src);
    FThickness = Src->FThickness;
  }
  Changed();
}

// ---------------------------------------------------------------------------
// Fonts and text settings

namespace {
float SanitizeFontSize(float V) {
  if (std::isnan(V) || V < 0) return 0;
  // Pango keeps sizes in 1/1024 px in an int; stay far from overflow.
  return std::min(V, 10000.0f);
}
}  // namespace

const std::string* TFont::FamilyName(const std::string& Name) {
  // Fonts are made for every text drawn (the resolved font of a label, say), nearly
  // always of the family named last: that one is found without the lock.
  thread_local const std::string* last = nullptr;
  if (last != nullptr && *last == Name) return last;
  // Kept for the life of the process (fonts in static objects may outlive any owner);
  // the set's nodes never move. Families are few, however many fonts name them.
  static std::mutex busy;
  static auto* names = new std::unordered_set<std::string>();
  std::lock_guard<std::mutex> lock(busy);
  last = &*names->insert(Name).first;
  return last;
}

const std::string* TFont::DefaultFamilyName() {
  static const std::string* name = FamilyName(DefaultFontFamily);
  return name;
}

TFont::TFont(const std::string& AFamily, float ASize, TFontStyles AStyle)
    : FFamily(FamilyName(AFamily)), FSize(SanitizeFontSize(ASize)), FStyle(AStyle) {}

void TFont::SetFamily(const std::string& Value) {
  if (Value == *FFamily) return;
  Update(FFamily, FamilyName(Value));
}

void TFont::SetSize(float Value) {
  Value = SanitizeFontSize(Value);
  Update(FSize, Value);
}

void TFont::SetStyle(TFontStyles Value) {
  Update(FStyle, Value);
}

void TFont::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TFont*>(Source);
  if (Src == nullptr) {
    TChangeNotifier::Assign(Source);
    return;
  }
  if (Equals(*Src)) return;
  FFamily = Src->FFamily;
  FSize = Src->FSize;
  FStyle = Src->FStyle;
  Changed();
}

TTextSettings::~TTextSettings() = default;

void TTextSettings::SetFontColor(TAlphaColor Value) {
  Update(FFontColor, Value);
}

void TTextSettings::SetHorzAlign(TTextAlign Value) {
  Update(FHorzAlign, Value);
}

void TTextSettings::SetVertAlign(TTextAlign Value) {
  Update(FVertAlign, Value);
}

void TTextSettings::SetWordWrap(bool Value) {
  Update(FWordWrap, Value);
}

void TTextSettings::SetTrimming(TTextTrimming Value) {
  Update(FTrimming, Value);
}

void TTextSettings::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TTextSettings*>(Source);
  if (Src == nullptr) {
    TChangeNotifier::Assign(Source);
    return;
  }
  if (Src == this) return;
  const bool Same = FFont.Equals(Src->FFont) && FFontColor == Src->FFontColor &&
                    FHorzAlign == Src->FHorzAlign && FVertAlign == Src->FVertAlign &&
                    FWordWrap == Src->FWordWrap && FTrimming == Src->FTrimming;
  if (Same) return;
  // The font would report its own change; one notification for the whole copy.
  {
    TMute mute(FFont);
    FFont.Assign(&Src->FFont);
  }
  FFontColor = Src->FFontColor;
  FHorzAlign = Src->FHorzAlign;
  FVertAlign = Src->FVertAlign;
  FWordWrap = Src->FWordWrap;
  FTrimming = Src->FTrimming;
  Changed();
}

// ---------------------------------------------------------------------------
// Bitmaps

namespace {

uint32_t Premultiply(TAlphaColor C) {
  const uint32_t A = C >> 24;
  if (A == 255) return C;
  if (A == 0) return 0;
  auto Mul = [A](uint32_t V) { return (V * A + 127) / 255; };
  return (A << 24) | (Mul((C >> 16) & 0xFF) << 16) | (Mul((C >> 8) & 0xFF) << 8) | Mul(C & 0xFF);
}

TAlphaColor Unpremultiply(uint32_t P) {
  const uint32_t A = P >> 24;
  if (A == 255) return P;
  if (A == 0) return 0;
  auto Div = [A](uint32_t V) { return std::min<uint32_t>(255, (V * 255 + A / 2) / A); };
  return (A << 24) | (Div((P >> 16) & 0xFF) << 16) | (Div((P >> 8) & 0xFF) << 8) | Div(P & 0xFF);
}

void CheckSize(int AWidth, int AHeight) {
  if (AWidth < 0 || AHeight < 0 || AWidth > TBitmap::MaxSide || AHeight > TBitmap::MaxSide)
    throw EBitmapError("bitmap size " + std::to_string(AWidth) + " x " + std::to_string(AHeight) +
                       " is outside 0.." + std::to_string(TBitmap::MaxSide));
}

constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct PngReadState {
  const uint8_t* Data;
  size_t Size;
  size_t Pos;
};

cairo_status_t ReadPngChunk(void* Closure, unsigned char* Out, unsigned int Length) {
  auto* S = static_cast<PngReadState*>(Closure);
  if (S->Size - S->Pos < Length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(Out, S->Data + S->Pos, Length);
  S->Pos += Length;
  return CAIRO_STATUS_SUCCESS;
}

cairo_status_t WritePngChunk(void* Closure, const unsigned char* Data, unsigned int Length) {
  auto* Out = static_cast<std::vector<uint8_t>*>(Closure);
  try {
    Out->insert(Out->end(), Data, Data + Length);
  } catch (...) {
    return CAIRO_STATUS_WRITE_ERROR;
  }
  return CAIRO_STATUS_SUCCESS;
}

uint32_t BigEndian32(const uint8_t* P) {
  return (uint32_t{P[0]} << 24) | (uint32_t{P[1]} << 16) | (uint32_t{P[2]} << 8) | P[3];
}

struct SurfaceHolder {
  cairo_surface_t* S;
  ~SurfaceHolder() {
    if (S) cairo_surface_destroy(S);
  }
};

}  // namespace

TBitmap::TBitmap(int AWidth, int AHeight) {
  CheckSize(AWidth, AHeight);
  FWidth = AWidth;
  FHeight = AHeight;
  FData.assign(static_cast<size_t>(AWidth) * static_cast<size_t>(AHeight), 0);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  CheckSize(AWidth, AHeight);
  std::vector<uint32_t> Pixels(static_cast<size_t>(AWidth) * static_cast<size_t>(AHeight), 0);
  AdoptPixels(AWidth, AHeight, std::move(Pixels));
}

void TBitmap::Clear(TAlphaColor Color) {
  std::fill(FData.begin(), FData.end(), Premultiply(Color));
  Changed();
}

TAlphaColor TBitmap::Pixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return 0;
  return Unpremultiply(FData[static_cast<size_t>(Y) * FWidth + X]);
}

void TBitmap::SetPixel(int X, int Y, TAlphaColor Color) {
  // Like drawing, writes outside the picture are clipped away.
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  FData[static_cast<size_t>(Y) * FWidth + X] = Premultiply(Color);
  Changed();
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == nullptr) {
    AdoptPixels(0, 0, {});
    return;
  }
  auto* Src = dynamic_cast<TBitmap*>(Source);
  if (Src == nullptr) {
    TChangeNotifier::Assign(Source);
    return;
  }
  if (Src == this) {
    Changed();
    return;
  }
  std::vector<uint32_t> Copy = Src->FData;
  AdoptPixels(Src->FWidth, Src->FHeight, std::move(Copy));
}

void TBitmap::AdoptPixels(int AWidth, int AHeight, std::vector<uint32_t>&& Pixels) {
  FWidth = AWidth;
  FHeight = AHeight;
  FData = std::move(Pixels);
  Changed();
}

void TBitmap::LoadFromPngBytes(const std::vector<uint8_t>& Bytes) {
  if (Bytes.size() < sizeof PngSignature ||
      std::memcmp(Bytes.data(), PngSignature, sizeof PngSignature) != 0)
    throw EBitmapError("not a PNG picture (the PNG signature is missing)");
  // The header chunk follows the signature: length, "IHDR", width, height. Check the
  // size before the decoder allocates anything for it.
  if (Bytes.size() < 8 + 8 + 8 || std::memcmp(Bytes.data() + 12, "IHDR", 4) != 0)
    throw EBitmapError("truncated or damaged PNG picture (no header chunk)");
  const uint32_t W = BigEndian32(Bytes.data() + 16);
  const uint32_t H = BigEndian32(Bytes.data() + 20);
  if (W == 0 || H == 0 || W > static_cast<uint32_t>(MaxSide) || H > static_cast<uint32_t>(MaxSide))
    throw EBitmapError("PNG picture of " + std::to_string(W) + " x " + std::to_string(H) +
                       " pixels is outside 1.." + std::to_string(MaxSide));

  // Every chunk must fit in what is there: the decoder allocates a chunk's declared
  // length before reading it, so a few damaged bytes could otherwise ask for gigabytes.
  for (size_t Pos = sizeof PngSignature;;) {
    if (Bytes.size() - Pos < 12)
      throw EBitmapError("truncated PNG picture (the data ends early)");
    const uint32_t Length = BigEndian32(Bytes.data() + Pos);
    if (Length > Bytes.size() - Pos - 12)
      throw EBitmapError("truncated or damaged PNG picture (a chunk runs past the end)");
    const bool End = std::memcmp(Bytes.data() + Pos + 4, "IEND", 4) == 0;
    Pos += 12 + static_cast<size_t>(Length);
    if (End) break;
  }

  PngReadState State{Bytes.data(), Bytes.size(), 0};
  SurfaceHolder Surface{cairo_image_surface_create_from_png_stream(ReadPngChunk, &State)};
  const cairo_status_t Status = cairo_surface_status(Surface.S);
  if (Status != CAIRO_STATUS_SUCCESS) {
    if (Status == CAIRO_STATUS_READ_ERROR)
      throw EBitmapError("truncated PNG picture (the data ends early)");
    throw EBitmapError(std::string("damaged PNG picture: ") + cairo_status_to_string(Status));
  }
  const cairo_format_t Format = cairo_image_surface_get_format(Surface.S);
  if (Format != CAIRO_FORMAT_ARGB32 && Format != CAIRO_FORMAT_RGB24)
    throw EBitmapError("unsupported PNG pixel format");
  cairo_surface_flush(Surface.S);
  const int SW = cairo_image_surface_get_width(Surface.S);
  const int SH = cairo_image_surface_get_height(Surface.S);
  const int Stride = cairo_image_surface_get_stride(Surface.S);
  const unsigned char* Src = cairo_image_surface_get_data(Surface.S);
  if (Src == nullptr || SW != static_cast<int>(W) || SH != static_cast<int>(H))
    throw EBitmapError("damaged PNG picture");

  std::vector<uint32_t> Pixels(static_cast<size_t>(SW) * SH);
  const uint32_t AlphaFill = Format == CAIRO_FORMAT_RGB24 ? 0xFF000000u : 0;
  for (int Y = 0; Y < SH; ++Y) {
    const auto* Row = reinterpret_cast<const uint32_t*>(Src + static_cast<size_t>(Y) * Stride);
    uint32_t* Dst = Pixels.data() + static_cast<size_t>(Y) * SW;
    for (int X = 0; X < SW; ++X) Dst[X] = Row[X] | AlphaFill;
  }
  AdoptPixels(SW, SH, std::move(Pixels));
}

std::vector<uint8_t> TBitmap::SaveToPngBytes() const {
  if (IsEmpty()) throw EBitmapError("an empty bitmap cannot be saved as PNG");
  // Cairo only reads the pixels while writing.
  SurfaceHolder Surface{cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(FData.data())), CAIRO_FORMAT_ARGB32,
      FWidth, FHeight, FWidth * 4)};
  if (cairo_surface_status(Surface.S) != CAIRO_STATUS_SUCCESS)
    throw EBitmapError("cannot prepare the bitmap for PNG writing");
  std::vector<uint8_t> Out;
  const cairo_status_t Status = cairo_surface_write_to_png_stream(Surface.S, WritePngChunk, &Out);
  if (Status != CAIRO_STATUS_SUCCESS)
    throw EBitmapError(std::string("PNG writing failed: ") + cairo_status_to_string(Status));
  return Out;
}

void TBitmap::LoadFromFile(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  if (!In) throw EBitmapError("cannot open picture file '" + FileName + "'");
  std::vector<uint8_t> Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  if (In.bad()) throw EBitmapError("cannot read picture file '" + FileName + "'");
  try {
    LoadFromPngBytes(Bytes);
  } catch (const EBitmapError& E) {
    throw EBitmapError("'" + FileName + "': " + E.what());
  }
}

void TBitmap::SaveToFile(const std::string& FileName) const {
  const std::vector<uint8_t> Bytes = SaveToPngBytes();
  std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
  if (!Out) throw EBitmapError("cannot create picture file '" + FileName + "'");
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
  Out.close();
  if (!Out) throw EBitmapError("cannot write picture file '" + FileName + "'");
}

}  // namespace fmx
