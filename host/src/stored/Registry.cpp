// Class descriptions, the class registry, the palette and the named event handlers.
#include "host/Registry.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "host/Streaming.h"

namespace fmx {

namespace detail {

std::string CaseFold(std::string_view S) {
  std::string out(S);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// The reader adds the position of the value to the message.
void ThrowValueError(const std::string& Expected) { throw EConvertError(Expected); }

}  // namespace detail

namespace {

struct TDeclaration {
  std::type_index Type;
  std::type_index ParentType;
  std::string Name;
  TMetaClass::TFactory Factory;
  std::function<bool(const TObject*)> IsInstance;
  detail::TDescribe Describe;
  std::unique_ptr<TMetaClass> Meta;  // built on first use
  bool Building = false;
};

// Everything here lives in function-local statics so that declarations made by static
// objects in any translation unit find it constructed.
struct TState {
  std::unordered_map<std::type_index, std::unique_ptr<TDeclaration>> Declarations;
  std::vector<std::type_index> DeclarationOrder;
  std::map<std::string, TClass> Registered;  // folded name -> class
  std::vector<TPalettePage> Palette;
  std::map<std::string, std::pair<std::any, std::string>> Handlers;  // folded name
};

TState& State() {
  static TState s;
  return s;
}

const TMetaClass* Build(TDeclaration& D) {
  if (D.Meta) return D.Meta.get();
  if (D.Building) throw EComponentError("class " + D.Name + " is declared as its own ancestor");
  D.Building = true;
  const TMetaClass* parent = nullptr;
  if (D.ParentType != D.Type) {
    auto it = State().Declarations.find(D.ParentType);
    if (it != State().Declarations.end()) parent = Build(*it->second);
  }
  auto meta = std::make_unique<TMetaClass>(D.Name, D.Type, parent, D.Factory, D.IsInstance);
  meta->CopyParentLists();
  D.Describe(*meta);
  D.Meta = std::move(meta);
  D.Building = false;
  return D.Meta.get();
}

}  // namespace

// ---- TMetaClass ----------------------------------------------------------------

TComponent* TMetaClass::Create(TComponent* AOwner) const {
  if (!FFactory) throw EComponentError("class " + FName + " cannot be created by name");
  return FFactory(AOwner);
}

bool TMetaClass::InheritsFrom(std::type_index Ancestor) const {
  for (const TMetaClass* c = this; c; c = c->FParent)
    if (c->FType == Ancestor) return true;
  return false;
}

bool TMetaClass::InheritsFrom(const TMetaClass* Ancestor) const {
  return Ancestor && InheritsFrom(Ancestor->FType);
}

const TPropInfo* TMetaClass::FindProperty(std::string_view Name) const {
  auto it = FIndex.find(detail::CaseFold(Name));
  return it == FIndex.end() ? nullptr : it->second;
}

void TMetaClass::AddPublished(std::unique_ptr<TPropInfo> P) {
  std::string key = detail::CaseFold(P->Name());
  auto it = FIndex.find(key);
  if (it != FIndex.end()) {
    // Declared again in a descendant: the new declaration replaces the old in place.
    for (auto& q : FPublished)
      if (q.get() == it->second) {
        q = std::move(P);
        it->second = q.get();
        return;
      }
  }
  FIndex[key] = P.get();
  FPublished.push_back(std::move(P));
}

void TMetaClass::AddAvailable(std::unique_ptr<TPropInfo> P) {
  std::string key = detail::CaseFold(P->Name());
  for (auto& q : FAvailable)
    if (detail::CaseFold(q->Name()) == key) {
      q = std::move(P);
      return;
    }
  FAvailable.push_back(std::move(P));
}

void TMetaClass::InheritPublished(const std::vector<std::string>& Groups) {
  for (const std::string& g : Groups) {
    std::string key = detail::CaseFold(g);
    bool found = false;
    for (auto& p : FAvailable)
      if (detail::CaseFold(p->Group()) == key) {
        found = true;
        if (!FindProperty(p->Name())) AddPublished(p->Clone());
      }
    if (!found)
      throw EComponentError("class " + FName + " republishes " + g +
                            ", which no ancestor declares");
  }
}

void TMetaClass::OrderPublished(const std::vector<std::string>& Groups) {
  std::vector<std::string> folded;
  for (const std::string& g : Groups) folded.push_back(detail::CaseFold(g));
  auto rank = [&folded](const std::unique_ptr<TPropInfo>& P) -> std::ptrdiff_t {
    auto it = std::find(folded.begin(), folded.end(), detail::CaseFold(P->Group()));
    return it == folded.end() ? -1 : it - folded.begin();
  };
  std::stable_sort(FPublished.begin(), FPublished.end(),
                   [&rank](const auto& A, const auto& B) { return rank(A) < rank(B); });
}

void TMetaClass::CopyParentLists() {
  if (!FParent) return;
  for (auto& p : FParent->FPublished) AddPublished(p->Clone());
  for (auto& p : FParent->FAvailable) FAvailable.push_back(p->Clone());
}

const detail::TWireType& TCollectionPropInfo::Type() const {
  static const detail::TWireType t{detail::TWireKind::Binary, nullptr, 0, 0, "collection"};
  return t;
}

// ---- declarations ----------------------------------------------------------------

namespace detail {

void DeclareClass(std::type_index Type, std::type_index ParentType, std::string Name,
                  TMetaClass::TFactory Factory, std::function<bool(const TObject*)> IsInstance,
                  TDescribe Describe) {
  auto& s = State();
  if (s.Declarations.count(Type)) return;
  s.Declarations.emplace(Type, std::make_unique<TDeclaration>(TDeclaration{
                                   Type, ParentType, std::move(Name), Factory,
                                   std::move(IsInstance), std::move(Describe), nullptr, false}));
  s.DeclarationOrder.push_back(Type);
}

const TMetaClass* MetaClassOf(std::type_index Type) {
  EnsureHostClasses();
  auto& s = State();
  auto it = s.Declarations.find(Type);
  if (it == s.Declarations.end())
    throw EClassNotFound(std::string("class ") + Type.name() + " is not declared");
  return Build(*it->second);
}

}  // namespace detail

TClass ClassOfInstance(const TObject* Instance) {
  if (!Instance) return nullptr;
  EnsureHostClasses();
  auto& s = State();
  auto exact = s.Declarations.find(std::type_index(typeid(*Instance)));
  if (exact != s.Declarations.end()) return Build(*exact->second);
  // An undeclared class (an application's form, say) is described by its nearest
  // declared ancestor: the one with the longest chain of ancestors.
  TClass best = nullptr;
  int bestDepth = -1;
  for (auto type : s.DeclarationOrder) {
    TDeclaration& d = *s.Declarations.at(type);
    if (!d.IsInstance(Instance)) continue;
    TClass c = Build(d);
    int depth = 0;
    for (TClass p = c; p; p = p->ClassParent()) ++depth;
    if (depth > bestDepth) best = c, bestDepth = depth;
  }
  return best;
}

// ---- registry ----------------------------------------------------------------------

void RegisterClass(TClass Class) {
  if (!Class) throw EComponentError("RegisterClass: no class");
  auto& reg = State().Registered;
  std::string key = detail::CaseFold(Class->ClassName());
  auto it = reg.find(key);
  if (it != reg.end()) {
    if (it->second == Class) return;
    throw EComponentError("a class named " + Class->ClassName() + " is already registered");
  }
  reg.emplace(key, Class);
}

void RegisterClasses(std::initializer_list<TClass> Classes) {
  for (TClass c : Classes) RegisterClass(c);
}

void UnRegisterClass(TClass Class) {
  if (!Class) return;
  auto& reg = State().Registered;
  auto it = reg.find(detail::CaseFold(Class->ClassName()));
  if (it != reg.end() && it->second == Class) reg.erase(it);
}

TClass GetClass(std::string_view Name) {
  EnsureHostClasses();
  auto& reg = State().Registered;
  auto it = reg.find(detail::CaseFold(Name));
  return it == reg.end() ? nullptr : it->second;
}

TClass FindClass(std::string_view Name) {
  TClass c = GetClass(Name);
  if (!c) throw EClassNotFound("class " + std::string(Name) + " not found");
  return c;
}

void RegisterComponents(const std::string& Page, std::initializer_list<TClass> Classes) {
  for (TClass c : Classes) RegisterClass(c);
  auto& pages = State().Palette;
  auto page = std::find_if(pages.begin(), pages.end(),
                           [&](const TPalettePage& p) { return p.Name == Page; });
  if (page == pages.end()) page = pages.insert(pages.end(), TPalettePage{Page, {}});
  for (TClass c : Classes)
    if (std::find(page->Classes.begin(), page->Classes.end(), c) == page->Classes.end())
      page->Classes.push_back(c);
}

std::vector<TPalettePage> PalettePages() { return State().Palette; }

TComponent* CreateComponent(std::string_view ClassName, TComponent* AOwner, bool Designing) {
  TComponent* c = FindClass(ClassName)->Create(AOwner);
  if (Designing) c->SetDesigning(true);
  return c;
}

// ---- named handlers ------------------------------------------------------------

void RegisterEventHandlerAny(const std::string& Name, std::any Handler, const char* TypeName) {
  State().Handlers[detail::CaseFold(Name)] = {std::move(Handler), TypeName};
}

void UnregisterEventHandler(const std::string& Name) {
  State().Handlers.erase(detail::CaseFold(Name));
}

namespace detail {
const std::any* FindHandlerAny(const std::string& Name) {
  auto& h = State().Handlers;
  auto it = h.find(CaseFold(Name));
  return it == h.end() ? nullptr : &it->second.first;
}
}  // namespace detail

}  // namespace fmx
