// Loading stored forms: the parsed text is first turned into a plan in which every
// class, property and value has been checked and converted; only a complete plan is
// carried out, so bad input never leaves half-built objects behind.
#include <cfloat>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "stored/FormText.h"
#include "host/Controls.h"
#include "host/Objects.h"
#include "host/Streaming.h"
#include "host/Styles.h"

namespace fmx {

using formtext::TPos;
using formtext::TValue;
using detail::TWire;
using detail::TWireKind;

EReadError::EReadError(int ALine, int AColumn, const std::string& What, const std::string& AFileName)
    : Exception((AFileName.empty() ? std::string() : AFileName + ": ") + "line " +
                std::to_string(ALine) + ", column " + std::to_string(AColumn) + ": " + What),
      FLine(ALine),
      FColumn(AColumn),
      FWhat(What),
      FFileName(AFileName) {}

EReadError EReadError::InFile(const std::string& AFileName) const {
  return EReadError(FLine, FColumn, FWhat, AFileName);
}

namespace {

// Pictures beyond this many pixels are refused before they are decoded, so a small
// file cannot ask for gigabytes.
constexpr uint64_t kMaxPicturePixels = 16u * 1024u * 1024u;

[[noreturn]] void Fail(TPos P, const std::string& What) { throw EReadError(P.Line, P.Column, What); }

struct TPlannedItem;

struct TPlannedProp {
  const TPropInfo* Prop = nullptr;
  TPos Pos;
  TWire Value;
  std::string RefName;  // component references are resolved once every object exists
  std::vector<TPlannedItem> Items;
};

struct TPlannedItem {
  std::vector<TPlannedProp> Props;
};

struct TPlannedObject {
  TClass Class = nullptr;
  std::string Name;
  TPos Pos;
  std::vector<TPlannedProp> Props;
  std::vector<std::unique_ptr<TPlannedObject>> Children;
};

struct TRefCheck {
  const TPropInfo* Prop;
  std::string Name;
  TPos Pos;
};

std::string Describe(const TValue& V) {
  switch (V.Kind) {
    case TValue::TKind::Integer: return "the integer " + std::to_string(V.Int);
    case TValue::TKind::Float: return "a number";
    case TValue::TKind::String: return "a string";
    case TValue::TKind::Ident: return "'" + V.Text + "'";
    case TValue::TKind::Set: return "a set";
    case TValue::TKind::Binary: return "binary data";
    case TValue::TKind::Collection: return "a collection";
  }
  return "a value";
}

[[noreturn]] void WrongType(const TPropInfo& P, const TValue& V, const std::string& Expected) {
  Fail(V.Pos, "expected " + Expected + " for " + P.Name() + ", found " + Describe(V));
}

std::shared_ptr<TBitmap> DecodePng(const TPropInfo& P, const TValue& V) {
  const auto& b = V.Bytes;
  static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (b.size() < 24 || !std::equal(kSig, kSig + 8, b.begin()) || b[12] != 'I' || b[13] != 'H' ||
      b[14] != 'D' || b[15] != 'R')
    Fail(V.Pos, "expected PNG data for " + P.Name());
  auto be32 = [&](size_t i) {
    return (uint32_t{b[i]} << 24) | (uint32_t{b[i + 1]} << 16) | (uint32_t{b[i + 2]} << 8) | b[i + 3];
  };
  uint64_t w = be32(16), h = be32(20);
  if (w > TBitmap::MaxSide || h > TBitmap::MaxSide || w * h > kMaxPicturePixels)
    Fail(V.Pos, "expected a picture of at most " + std::to_string(kMaxPicturePixels) +
                    " pixels for " + P.Name());
  auto bmp = std::make_shared<TBitmap>();
  try {
    bmp->LoadFromPngBytes(b);
  } catch (const std::exception& e) {
    Fail(V.Pos, "expected readable PNG data for " + P.Name() + " (" + e.what() + ")");
  }
  return bmp;
}

int64_t FindName(const std::vector<std::string>& Names, const std::string& Ident) {
  std::string key = detail::CaseFold(Ident);
  for (size_t i = 0; i < Names.size(); ++i)
    if (detail::CaseFold(Names[i]) == key) return static_cast<int64_t>(i);
  return -1;
}

std::string NameList(const std::vector<std::string>& Names) {
  std::string out;
  for (size_t i = 0; i < Names.size() && i < 16; ++i) out += (i ? ", " : "") + Names[i];
  if (Names.size() > 16) out += ", ...";
  return out;
}

// Where an object stands in the text: what may hold a visual object is only the root
// and another visual object.
enum class TPlanPlace { Root, InVisualObject, InOtherObject };

class TPlanner {
 public:
  // Names that references may point to, with their classes (nullptr for components that
  // exist already; their class is checked on the object itself).
  std::map<std::string, TClass> Names;
  std::map<std::string, TComponent*> Existing;
  std::vector<TRefCheck> Refs;

  std::unique_ptr<TPlannedObject> PlanObject(const formtext::TObjectNode& N, TClass ForcedClass,
                                             TPlanPlace Place) {
    auto plan = std::make_unique<TPlannedObject>();
    plan->Pos = N.Pos;
    plan->Name = N.Name;
    TClass cls = ForcedClass ? ForcedClass : GetClass(N.ClassName);
    if (!cls)
      Fail(N.ClassPos, "expected the name of a registered class, found unknown class '" +
                           N.ClassName + "'");
    if (!ForcedClass && !cls->CanCreate())
      Fail(N.ClassPos, "expected a class that can be created, found " + cls->ClassName());
    bool isFmx = cls->InheritsFrom(std::type_index(typeid(TFmxObject)));
    if (Place == TPlanPlace::InOtherObject && isFmx)
      Fail(N.Pos, "expected this object inside the root or inside a visual object");
    plan->Class = cls;
    if (!N.Name.empty()) {
      std::string key = detail::CaseFold(N.Name);
      if (Names.count(key) || Existing.count(key))
        Fail(N.Pos, "expected a unique name, found a second '" + N.Name + "'");
      Names[key] = cls;
    }
    for (const auto& p : N.Props) plan->Props.push_back(PlanProp(*cls, p, cls->ClassName()));
    for (const auto& c : N.Children) {
      if (c->ClassName.empty()) continue;
      plan->Children.push_back(
          PlanObject(*c, nullptr, isFmx ? TPlanPlace::InVisualObject : TPlanPlace::InOtherObject));
    }
    return plan;
  }

  TPlannedProp PlanProp(const TMetaClass& Cls, const formtext::TProperty& P, const std::string& Where) {
    const TPropInfo* info = Cls.FindProperty(P.Name);
    if (!info) Fail(P.Pos, "expected a published property of " + Where + ", found unknown property '" + P.Name + "'");
    return PlanValue(*info, P);
  }

  TPlannedProp PlanValue(const TPropInfo& Info, const formtext::TProperty& P) {
    TPlannedProp out;
    out.Prop = &Info;
    out.Pos = P.Value.Pos;
    const TValue& v = P.Value;
    if (Info.IsCollection()) {
      if (v.Kind != TValue::TKind::Collection) WrongType(Info, v, "a collection < item ... end >");
      const auto& coll = static_cast<const TCollectionPropInfo&>(Info);
      for (const auto& item : v.Items) {
        TPlannedItem pi;
        for (const auto& ip : item.Props) {
          const TPropInfo* found = nullptr;
          for (const auto& cand : coll.ItemProps())
            if (detail::CaseFold(cand->Name()) == detail::CaseFold(ip.Name)) found = cand.get();
          if (!found)
            Fail(ip.Pos, "expected a property of an item of " + Info.Name() + ", found unknown property '" + ip.Name + "'");
          pi.Props.push_back(PlanValue(*found, ip));
        }
        out.Items.push_back(std::move(pi));
      }
      return out;
    }
    const detail::TWireType& t = Info.Type();
    using K = TValue::TKind;
    switch (t.Kind) {
      case TWireKind::Integer:
        if (v.Kind != K::Integer) WrongType(Info, v, "an integer");
        if (v.Int < t.Min || v.Int > t.Max)
          Fail(v.Pos, "expected an integer from " + std::to_string(t.Min) + " to " +
                          std::to_string(t.Max) + " for " + Info.Name());
        out.Value = v.Int;
        break;
      case TWireKind::Float: {
        if (v.Kind != K::Integer && v.Kind != K::Float) WrongType(Info, v, "a number");
        double d = v.Kind == K::Integer ? static_cast<double>(v.Int) : v.Float;
        if (d > FLT_MAX || d < -FLT_MAX) Fail(v.Pos, "expected a number within range for " + Info.Name());
        out.Value = d;
        break;
      }
      case TWireKind::Bool:
        if (v.Kind == K::Ident && detail::CaseFold(v.Text) == "true")
          out.Value = true;
        else if (v.Kind == K::Ident && detail::CaseFold(v.Text) == "false")
          out.Value = false;
        else
          WrongType(Info, v, "True or False");
        break;
      case TWireKind::String:
        if (v.Kind != K::String) WrongType(Info, v, "a string in quotes");
        out.Value = v.Text;
        break;
      case TWireKind::Char: {
        if (v.Kind != K::String) WrongType(Info, v, "a character in quotes");
        std::u16string u = formtext::Utf8ToUtf16(v.Text);
        if (u.size() != 1) Fail(v.Pos, "expected exactly one character for " + Info.Name());
        out.Value = static_cast<int64_t>(u[0]);
        break;
      }
      case TWireKind::Enum: {
        if (v.Kind != K::Ident) WrongType(Info, v, "one of " + NameList(*t.Names));
        int64_t i = FindName(*t.Names, v.Text);
        if (i < 0) WrongType(Info, v, "one of " + NameList(*t.Names));
        out.Value = i;
        break;
      }
      case TWireKind::Set: {
        if (v.Kind != K::Set) WrongType(Info, v, "a set [" + NameList(*t.Names) + "]");
        uint64_t bits = 0;
        for (size_t k = 0; k < v.Names.size(); ++k) {
          int64_t i = FindName(*t.Names, v.Names[k]);
          if (i < 0 || i >= 64)
            Fail(v.NamePos[k], "expected one of " + NameList(*t.Names) + " in " + Info.Name() +
                                   ", found '" + v.Names[k] + "'");
          bits |= uint64_t{1} << i;
        }
        out.Value = static_cast<int64_t>(bits);
        break;
      }
      case TWireKind::Color: {
        uint32_t c = 0;
        if (v.Kind != K::Ident || !formtext::ParseColor(v.Text, c))
          WrongType(Info, v, "a colour (claName or xAARRGGBB)");
        out.Value = static_cast<int64_t>(c);
        break;
      }
      case TWireKind::Binary:
        if (v.Kind != K::Binary) WrongType(Info, v, "binary data in { }");
        out.Value = v.Bytes;
        break;
      case TWireKind::Png:
        if (v.Kind != K::Binary) WrongType(Info, v, "PNG data in { }");
        out.Value = DecodePng(Info, v);
        break;
      case TWireKind::Ref:
        if (v.Kind != K::Ident) WrongType(Info, v, "a component name");
        out.RefName = v.Text;
        Refs.push_back({&Info, v.Text, v.Pos});
        return out;
      case TWireKind::Event:
        if (v.Kind != K::Ident) WrongType(Info, v, "an event handler name");
        out.Value = v.Text;
        break;
    }
    try {
      Info.Check(out.Value);
    } catch (const EReadError& e) {
      Fail(v.Pos, "expected a valid value for " + Info.Name() + " (" + e.what() + ")");
    } catch (const std::exception& e) {
      if (t.Kind == TWireKind::Event)
        Fail(v.Pos, "expected " + std::string(e.what()) + " for " + Info.Name() + ", found '" + v.Text + "'");
      Fail(v.Pos, "expected a valid value for " + Info.Name() + " (" + e.what() + ")");
    }
    return out;
  }

  void CheckRefs() {
    for (const auto& r : Refs) {
      std::string key = detail::CaseFold(r.Name);
      const std::type_info* want = r.Prop->Type().RefType;
      auto n = Names.find(key);
      if (n != Names.end()) {
        if (want && !n->second->InheritsFrom(std::type_index(*want)))
          Fail(r.Pos, "expected a component of a suitable class for " + r.Prop->Name() + ", found " +
                          n->second->ClassName() + " '" + r.Name + "'");
        continue;
      }
      auto e = Existing.find(key);
      if (e != Existing.end()) {
        TClass c = ClassOfInstance(e->second);
        if (want && (!c || !c->InheritsFrom(std::type_index(*want))))
          Fail(r.Pos, "expected a component of a suitable class for " + r.Prop->Name() + ", found '" + r.Name + "'");
        continue;
      }
      Fail(r.Pos, "expected the name of a component in this form for " + r.Prop->Name() +
                      ", found unknown name '" + r.Name + "'");
    }
  }
};

struct TFixup {
  TComponent* Instance;
  const TPropInfo* Prop;
  std::string Name;
  TPos Pos;
};

class TBuilder {
 public:
  TBuilder(const TReadOptions& Options) : FOptions(Options) {}
  std::vector<TComponent*> Created;
  std::vector<TFixup> Fixups;
  std::map<std::string, TComponent*> ByName;
  TPos Current;

  void ApplyProps(TObject* Target, TComponent* Owner, const std::vector<TPlannedProp>& Props) {
    for (const auto& p : Props) {
      Current = p.Pos;
      if (p.Prop->IsCollection()) {
        const auto& coll = static_cast<const TCollectionPropInfo&>(*p.Prop);
        coll.Clear(Target);
        for (const auto& item : p.Items) {
          std::unique_ptr<TObject> obj = coll.NewItem();
          ApplyProps(obj.get(), nullptr, item.Props);
          coll.Add(Target, obj.get());
        }
      } else if (!p.RefName.empty()) {
        Fixups.push_back({Owner, p.Prop, p.RefName, p.Pos});
      } else {
        p.Prop->Set(Target, p.Value);
      }
    }
  }

  // Constructor first, then the flags, name, parent and properties, then the children.
  TComponent* Build(const TPlannedObject& P, TComponent* Owner, TFmxObject* Parent,
                    TComponent* Existing = nullptr) {
    Current = P.Pos;
    TComponent* c = Existing ? Existing : P.Class->Create(Owner);
    if (!Existing) Created.push_back(c);
    if (FOptions.Designing) c->SetDesigning(true);
    c->SetLoadingStage(TLoadingStage::Reading);
    if (!P.Name.empty()) {
      c->SetName(P.Name);
      ByName[detail::CaseFold(P.Name)] = c;
    }
    auto* fmx = dynamic_cast<TFmxObject*>(c);
    if (Parent && fmx) fmx->SetParent(Parent);
    ApplyProps(c, c, P.Props);
    c->SetLoadingStage(TLoadingStage::Loading);
    TComponent* root = FRoot ? FRoot : c;
    if (!FRoot) FRoot = c;
    for (const auto& child : P.Children) Build(*child, root, fmx);
    return c;
  }

  void Finish(const std::vector<TComponent*>& LoadedOrder) {
    for (const auto& f : Fixups) {
      Current = f.Pos;
      auto it = ByName.find(detail::CaseFold(f.Name));
      TComponent* target = it != ByName.end() ? it->second : nullptr;
      if (!target) Fail(f.Pos, "expected a component named '" + f.Name + "'");
      f.Prop->Set(f.Instance, TWire(target));
    }
    for (TComponent* c : LoadedOrder) {
      c->Loaded();
      c->SetLoadingStage(TLoadingStage::Loaded);
    }
  }

  TComponent* FRoot = nullptr;

 private:
  const TReadOptions& FOptions;
};

std::unique_ptr<TPlannedObject> PlanText(std::string_view Text, const TReadLimits& Limits,
                                         TPlanner& Planner, TClass RootClass, bool RootMustBeFmx) {
  auto dom = formtext::Parse(Text, Limits);
  if (RootMustBeFmx) {
    TClass c = GetClass(dom->ClassName);
    if (c && !c->InheritsFrom(std::type_index(typeid(TFmxObject))))
      Fail(dom->ClassPos, "expected a visual style object, found " + c->ClassName());
  }
  auto plan = Planner.PlanObject(*dom, RootClass, TPlanPlace::Root);
  Planner.CheckRefs();
  return plan;
}

[[noreturn]] void Rethrow(const TBuilder& B, const std::exception& E) {
  if (auto* r = dynamic_cast<const EReadError*>(&E)) throw *r;
  Fail(B.Current, std::string("expected a value the object accepts (") + E.what() + ")");
}

}  // namespace

TComponent* ReadComponentFromText(std::string_view Text, TComponent* AOwner,
                                  const TReadOptions& Options) {
  TPlanner planner;
  auto plan = PlanText(Text, Options.Limits, planner, nullptr, false);
  if (AOwner && !plan->Name.empty() && AOwner->FindComponent(plan->Name))
    Fail(plan->Pos, "expected a name not yet used by the owner, found '" + plan->Name + "'");
  // A handler run while reading may free what the reader still holds: it stays
  // readable (and a second delete of it does nothing) until the reading is over.
  TDispatchScope scope;
  TBuilder b(Options);
  TComponent* root = nullptr;
  try {
    {
      // Layouts wait until every stored position and size is in: laid out eagerly, a
      // half-read list of siblings would be ordered by values about to be replaced.
      TRealignBatch batch;
      root = b.Build(*plan, AOwner, nullptr);
      batch.Flush();
    }
    b.Finish(b.Created);
  } catch (const std::exception& e) {
    // Everything else created is owned by the root.
    if (!b.Created.empty()) delete b.Created.front();
    Rethrow(b, e);
  }
  return root;
}

void ReadRootProperties(TComponent* Root, std::string_view Text, const TReadOptions& Options) {
  if (!Root) throw EReadError(0, 0, "expected a component to load onto");
  TPlanner planner;
  auto dom = formtext::Parse(Text, Options.Limits);
  TClass cls = GetClass(dom->ClassName);
  if (!cls || !cls->IsInstance(Root))
    Fail(dom->ClassPos, "expected the class of the component loaded onto (or an ancestor), found '" +
                            dom->ClassName + "'");
  for (int i = 0; i < Root->ComponentCount(); ++i) {
    TComponent* c = Root->Components(i);
    if (!c->Name().empty()) planner.Existing[detail::CaseFold(c->Name())] = c;
  }
  if (!Root->Name().empty() && dom->Name.empty())
    planner.Existing[detail::CaseFold(Root->Name())] = Root;
  if (!dom->Name.empty() && Root->Owner()) {
    TComponent* other = Root->Owner()->FindComponent(dom->Name);
    if (other && other != Root)
      Fail(dom->Pos, "expected a name not yet used by the owner, found '" + dom->Name + "'");
  }
  auto plan = planner.PlanObject(*dom, cls, TPlanPlace::Root);
  planner.CheckRefs();

  TDispatchScope scope;
  TBuilder b(Options);
  for (auto& [key, c] : planner.Existing) b.ByName[key] = c;
  try {
    b.FRoot = Root;
    {
      TRealignBatch batch;
      b.Build(*plan, nullptr, nullptr, Root);
      batch.Flush();
    }
    std::vector<TComponent*> order{Root};
    order.insert(order.end(), b.Created.begin(), b.Created.end());
    b.Finish(order);
  } catch (const std::exception& e) {
    for (auto it = b.Created.rbegin(); it != b.Created.rend(); ++it) delete *it;
    Root->SetLoadingStage(TLoadingStage::Loaded);
    Rethrow(b, e);
  }
}

namespace formtext {
void ValidateStyleText(std::string_view Text) {
  TPlanner planner;
  PlanText(Text, TReadLimits{}, planner, nullptr, true);
}
}  // namespace formtext

void ValidateFormText(std::string_view Text, const TReadLimits& Limits) {
  TPlanner planner;
  PlanText(Text, Limits, planner, nullptr, false);
}

std::string ReadTextFile(const std::string& FileName, size_t MaxBytes) {
  auto tooLarge = [&] {
    return EReadError(0, 0, "expected a file of at most " + std::to_string(MaxBytes) + " bytes",
                      FileName);
  };
  // A regular file is refused by its size alone, without reading it.
  std::error_code ec;
  if (std::filesystem::is_regular_file(FileName, ec)) {
    auto size = std::filesystem::file_size(FileName, ec);
    if (!ec && size > MaxBytes) throw tooLarge();
  }
  std::ifstream in(FileName, std::ios::binary);
  if (!in) throw EReadError(0, 0, "expected a readable file, cannot open " + FileName, FileName);
  // Read in pieces as well: a device or pipe has no size and may never end.
  std::string text;
  char buf[65536];
  while (in.read(buf, sizeof buf) || in.gcount() > 0) {
    text.append(buf, static_cast<size_t>(in.gcount()));
    if (text.size() > MaxBytes) throw tooLarge();
  }
  return text;
}

TComponent* ReadComponentFromFile(const std::string& FileName, TComponent* AOwner,
                                  const TReadOptions& Options) {
  try {
    return ReadComponentFromText(ReadTextFile(FileName, Options.Limits.MaxTextBytes), AOwner,
                                 Options);
  } catch (const EReadError& e) {
    if (!e.FileName().empty()) throw;
    throw e.InFile(FileName);
  }
}

void LoadStyleBook(TStyleBook* Book, std::string_view Text) {
  TPlanner planner;
  auto plan = PlanText(Text, TReadLimits{}, planner, nullptr, true);
  TReadOptions options;
  TBuilder b(options);
  TComponent* root = nullptr;
  try {
    root = b.Build(*plan, nullptr, nullptr);
    b.Finish(b.Created);
  } catch (const std::exception& e) {
    if (!b.Created.empty()) delete b.Created.front();
    Rethrow(b, e);
  }
  Book->Styles()->Clear();
  Book->Styles()->Add(static_cast<TFmxObject*>(root));
  Book->SetCurrentItemIndex(0);
}

void LoadStyleBookFromFile(TStyleBook* Book, const std::string& FileName) {
  try {
    LoadStyleBook(Book, ReadTextFile(FileName));
  } catch (const EReadError& e) {
    if (!e.FileName().empty()) throw;
    throw e.InFile(FileName);
  }
}

}  // namespace fmx
