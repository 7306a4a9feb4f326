// Class information for the stored-form format: published properties, the class
// registry (virtual constructors by name), the designer palette and the event
// handlers an application makes known by name.
//
// A class describes itself once, in its own .cpp, with a static declaration object:
//
//   const fmx::TDeclareClass<TMyBar, fmx::TControl> MyBarClass("TMyBar", [](auto& c) {
//     c.Prop("Caption", &TMyBar::Caption, &TMyBar::SetCaption, fmx::Default(std::string()));
//     c.Color("BarColor", &TMyBar::BarColor, &TMyBar::SetBarColor, fmx::AlwaysWritten);
//     c.Prop("Logo", &TMyBar::Logo, &TMyBar::SetLogo, fmx::WrittenWhenNotEmpty);  // TBitmap*
//     c.Inherit({"Align", "Height", "Margins", "Width", "OnClick"});
//   });
//
// The value type follows from the getter: integers, float, bool, std::string, Char,
// scoped enums and TSet<enum> (names from DeclareEnum), TBitmap* (PNG bytes),
// pointers to components (written by name), std::function handlers (by handler name).
// Colours are uint32_t like plain integers, so they are declared with Color().
#pragma once

#include <any>
#include <concepts>
#include <cstdint>
#include <limits>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <typeindex>
#include <typeinfo>
#include <variant>
#include <vector>

#include "host/Classes.h"
#include "host/Graphics.h"

namespace fmx {

class TMetaClass;
using TClass = const TMetaClass*;

class EClassNotFound : public Exception {
 public:
  using Exception::Exception;
};

// ---- enumeration names ------------------------------------------------------

// Value names of an enumeration, by ordinal, as the stored form writes them.
template <class E>
struct TEnumNames {
  static inline std::vector<std::string> Names;
};
template <class E>
void DeclareEnum(std::vector<std::string> Names) {
  TEnumNames<E>::Names = std::move(Names);
}

// ---- when a property is written ---------------------------------------------

enum class TStoredKind { Default, Always, NotEmpty, Never };

template <class T>
/// A property's stored default, made by Default().
struct TDefault {
  T Value;
};
// Not written while the property equals Value.
template <class T>
TDefault<T> Default(T Value) {
  return {std::move(Value)};
}
inline TDefault<std::string> Default(const char* Value) { return {Value}; }
struct TAlwaysWritten {};
struct TWrittenWhenNotEmpty {};
struct TNeverWritten {};  // readable (an alias of another property) but not written
inline constexpr TAlwaysWritten AlwaysWritten{};
inline constexpr TWrittenWhenNotEmpty WrittenWhenNotEmpty{};
inline constexpr TNeverWritten NeverWritten{};

// ---- the neutral value every property converts to and from ------------------

namespace detail {

enum class TWireKind { Integer, Float, Bool, String, Char, Enum, Set, Color, Binary, Png, Ref, Event };

struct TWireType {
  TWireKind Kind;
  const std::vector<std::string>* Names = nullptr;  // Enum, Set
  int64_t Min = 0, Max = 0;                         // Integer
  std::string TypeName;                             // for messages
  const std::type_info* RefType = nullptr;          // Ref: the class pointed to
};

// Integer, Float, Bool, String (also Char, Binary), component (Ref), decoded picture (Png).
using TWire = std::variant<std::monostate, int64_t, double, bool, std::string,
                           std::vector<uint8_t>, TComponent*, std::shared_ptr<TBitmap>>;

template <class T>
struct TIsFunction : std::false_type {};
template <class R, class... A>
struct TIsFunction<std::function<R(A...)>> : std::true_type {};

// Handler names ride in the std::function so the writer can name them again.
template <class F>
struct TNamedHandler;
template <class R, class... A>
struct TNamedHandler<std::function<R(A...)>> {
  std::string Name;
  std::function<R(A...)> Fn;
  R operator()(A... Args) const { return Fn(std::forward<A>(Args)...); }
};

const std::any* FindHandlerAny(const std::string& Name);
std::string CaseFold(std::string_view S);
[[noreturn]] void ThrowValueError(const std::string& Expected);

}  // namespace detail

// ---- event handlers known by name --------------------------------------------

// Makes Handler available to stored forms as Name (e.g. "Button1Click"). The type
// must match the event's type exactly (TNotifyEvent, TMouseEvent, ...).
void RegisterEventHandlerAny(const std::string& Name, std::any Handler, const char* TypeName);
template <class F>
void RegisterEventHandler(const std::string& Name, F Handler) {
  static_assert(detail::TIsFunction<F>::value,
                "name the event type: RegisterEventHandler<TNotifyEvent>(name, handler)");
  RegisterEventHandlerAny(Name, std::any(std::move(Handler)), typeid(F).name());
}
void UnregisterEventHandler(const std::string& Name);
// The name a loaded handler was found under, or "" for one set in code.
template <class F>
std::string EventHandlerName(const F& Handler) {
  auto* named = Handler.template target<detail::TNamedHandler<F>>();
  return named ? named->Name : std::string();
}

// ---- property information ----------------------------------------------------

/// One published property of a class: how it is read, written and whether it is stored.
class TPropInfo {
 public:
  using TReach = std::function<TObject*(TObject*)>;
  TPropInfo(std::string Name, std::string Group, TReach Reach)
      : FName(std::move(Name)), FGroup(std::move(Group)), FReach(std::move(Reach)) {}
  virtual ~TPropInfo() = default;

  // As written, e.g. "Margins.Top" or "Bitmap.PNG".
  const std::string& Name() const { return FName; }
  // The top-level name a class republishes, e.g. "Margins".
  const std::string& Group() const { return FGroup; }
  virtual const detail::TWireType& Type() const = 0;
  virtual bool IsStored(TObject* Instance) const = 0;
  virtual detail::TWire Get(TObject* Instance) const = 0;
  // Throws (any exception) when the value cannot be taken; nothing is changed then.
  virtual void Check(const detail::TWire& Value) const {}
  virtual void Set(TObject* Instance, const detail::TWire& Value) const = 0;
  virtual std::unique_ptr<TPropInfo> Clone() const = 0;

  // A collection property (written as < item ... end >) answers these instead.
  virtual bool IsCollection() const { return false; }

 protected:
  TObject* Target(TObject* Instance) const { return FReach ? FReach(Instance) : Instance; }
  std::string FName, FGroup;
  TReach FReach;
};

using TPropList = std::vector<std::unique_ptr<TPropInfo>>;

// A property whose value is a list of items, each a set of properties.
class TCollectionPropInfo : public TPropInfo {
 public:
  using TPropInfo::TPropInfo;
  bool IsCollection() const override { return true; }
  const detail::TWireType& Type() const override;
  detail::TWire Get(TObject*) const override { return {}; }
  void Set(TObject*, const detail::TWire&) const override {}
  virtual const TPropList& ItemProps() const = 0;
  virtual int Count(TObject* Instance) const = 0;
  virtual TObject* Item(TObject* Instance, int Index) const = 0;
  virtual std::unique_ptr<TObject> NewItem() const = 0;
  virtual void Clear(TObject* Instance) const = 0;
  virtual void Add(TObject* Instance, TObject* Item) const = 0;
  bool IsStored(TObject* Instance) const override { return Count(Instance) > 0; }
};

namespace detail {

template <class T>
struct TIsSet : std::false_type {};
template <class E>
struct TIsSet<TSet<E>> : std::true_type {
  using Enum = E;
};

struct TColorTag {};

template <class T, class Tag>
TWireType WireTypeOf() {
  if constexpr (std::is_same_v<Tag, TColorTag>) {
    return {TWireKind::Color, nullptr, 0, 0, "colour"};
  } else if constexpr (std::is_same_v<T, bool>) {
    return {TWireKind::Bool, nullptr, 0, 0, "Boolean"};
  } else if constexpr (std::is_same_v<T, Char>) {
    return {TWireKind::Char, nullptr, 0, 0, "character"};
  } else if constexpr (std::is_integral_v<T>) {
    return {TWireKind::Integer, nullptr, static_cast<int64_t>(std::numeric_limits<T>::min()),
            std::numeric_limits<T>::max() > static_cast<uint64_t>(INT64_MAX)
                ? INT64_MAX
                : static_cast<int64_t>(std::numeric_limits<T>::max()),
            "integer"};
  } else if constexpr (std::is_floating_point_v<T>) {
    return {TWireKind::Float, nullptr, 0, 0, "number"};
  } else if constexpr (std::is_same_v<T, std::string>) {
    return {TWireKind::String, nullptr, 0, 0, "string"};
  } else if constexpr (std::is_same_v<T, std::vector<uint8_t>>) {
    return {TWireKind::Binary, nullptr, 0, 0, "binary data"};
  } else if constexpr (std::is_enum_v<T>) {
    return {TWireKind::Enum, &TEnumNames<T>::Names, 0, 0, "enumeration value"};
  } else if constexpr (TIsSet<T>::value) {
    return {TWireKind::Set, &TEnumNames<typename TIsSet<T>::Enum>::Names, 0, 0, "set"};
  } else if constexpr (std::is_same_v<T, TBitmap*>) {
    return {TWireKind::Png, nullptr, 0, 0, "PNG data"};
  } else if constexpr (std::is_pointer_v<T>) {
    static_assert(std::is_base_of_v<TComponent, std::remove_pointer_t<T>>,
                  "pointer properties must point to components");
    return {TWireKind::Ref, nullptr, 0, 0, "component name", &typeid(std::remove_pointer_t<T>)};
  } else if constexpr (TIsFunction<T>::value) {
    return {TWireKind::Event, nullptr, 0, 0, "event handler name"};
  } else {
    static_assert(sizeof(T) == 0, "unsupported property type");
  }
}

template <class T>
bool IsEmptyValue(const T& V) {
  if constexpr (std::is_same_v<T, TBitmap*>)
    return V == nullptr || V->IsEmpty();
  else if constexpr (TIsSet<T>::value)
    return V.Empty();
  else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::vector<uint8_t>>)
    return V.empty();
  else if constexpr (std::is_pointer_v<T> || TIsFunction<T>::value)
    return !V;
  else
    return V == T{};
}

}  // namespace detail

// One property of class C with value type T, read by Getter and written by Setter
// (either may be a member pointer of a base of C or a callable taking C&).
template <class C, class T, class Tag = void>
class TTypedProp : public TPropInfo {
 public:
  using TGetter = std::function<T(C&)>;
  using TSetter = std::function<void(C&, const T&)>;
  using TCheck = std::function<void(const T&)>;

  TTypedProp(std::string Name, std::string Group, TReach Reach, TGetter Getter, TSetter Setter,
             TStoredKind Stored, std::optional<T> DefaultValue)
      : TPropInfo(std::move(Name), std::move(Group), std::move(Reach)),
        FType(detail::WireTypeOf<T, Tag>()),
        FGetter(std::move(Getter)),
        FSetter(std::move(Setter)),
        FStored(Stored),
        FDefault(std::move(DefaultValue)) {}

  // Refuses values the setter would refuse, so a load can fail before anything changes.
  TTypedProp& SetCheck(TCheck Check) {
    FCheck = std::move(Check);
    return *this;
  }

  const detail::TWireType& Type() const override { return FType; }

  bool IsStored(TObject* Instance) const override {
    switch (FStored) {
      case TStoredKind::Never:
        return false;
      case TStoredKind::Always:
        break;
      case TStoredKind::NotEmpty:
        if (detail::IsEmptyValue(Value(Instance))) return false;
        break;
      case TStoredKind::Default:
        if constexpr (std::equality_comparable<T>)
          if (FDefault && Value(Instance) == *FDefault) return false;
        break;
    }
    if constexpr (detail::TIsFunction<T>::value)
      return !EventHandlerName(Value(Instance)).empty();
    else if constexpr (std::is_pointer_v<T> && !std::is_same_v<T, TBitmap*>)
      return Value(Instance) != nullptr;
    else if constexpr (std::is_same_v<T, TBitmap*>)
      return Value(Instance) != nullptr && !Value(Instance)->IsEmpty();
    return true;
  }

  detail::TWire Get(TObject* Instance) const override {
    T v = Value(Instance);
    if constexpr (std::is_same_v<Tag, detail::TColorTag>)
      return static_cast<int64_t>(v);
    else if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string> ||
                       std::is_same_v<T, std::vector<uint8_t>>)
      return v;
    else if constexpr (std::is_same_v<T, Char>)
      return static_cast<int64_t>(v);
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
      return static_cast<int64_t>(v);
    else if constexpr (std::is_floating_point_v<T>)
      return static_cast<double>(v);
    else if constexpr (detail::TIsSet<T>::value)
      return static_cast<int64_t>(v.Bits());
    else if constexpr (std::is_same_v<T, TBitmap*>)
      // An empty picture has no PNG form; it reads as no bytes.
      return std::vector<uint8_t>(v && !v->IsEmpty() ? v->SaveToPngBytes() : std::vector<uint8_t>());
    else if constexpr (std::is_pointer_v<T>)
      return static_cast<TComponent*>(v);
    else
      return EventHandlerName(v);
  }

  void Check(const detail::TWire& Wire) const override {
    if constexpr (detail::TIsFunction<T>::value) (void)Handler(Wire);
    if (FCheck) FCheck(FromWire(Wire));
  }

  void Set(TObject* Instance, const detail::TWire& Wire) const override {
    C& obj = Object(Instance);
    if constexpr (std::is_same_v<T, TBitmap*>) {
      TBitmap* picture = std::get<std::shared_ptr<TBitmap>>(Wire).get();
      if (FSetter)
        FSetter(obj, picture);
      else if (TBitmap* own = FGetter(obj))
        own->Assign(picture);
    } else if constexpr (detail::TIsFunction<T>::value) {
      FSetter(obj, Handler(Wire));
    } else {
      FSetter(obj, FromWire(Wire));
    }
  }

  std::unique_ptr<TPropInfo> Clone() const override {
    return std::make_unique<TTypedProp>(*this);
  }

 private:
  C& Object(TObject* Instance) const {
    C* obj = dynamic_cast<C*>(Target(Instance));
    if (!obj) throw EConvertError("property " + FName + " applied to an object of another class");
    return *obj;
  }
  T Value(TObject* Instance) const { return FGetter(Object(Instance)); }

  static T FromWire(const detail::TWire& W) {
    if constexpr (std::is_same_v<Tag, detail::TColorTag>)
      return static_cast<T>(std::get<int64_t>(W));
    else if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::string> ||
                       std::is_same_v<T, std::vector<uint8_t>>)
      return std::get<T>(W);
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
      return static_cast<T>(std::get<int64_t>(W));
    else if constexpr (std::is_floating_point_v<T>)
      return static_cast<T>(std::get<double>(W));
    else if constexpr (detail::TIsSet<T>::value)
      return T::FromBits(static_cast<uint64_t>(std::get<int64_t>(W)));
    else if constexpr (std::is_same_v<T, TBitmap*>)
      return std::get<std::shared_ptr<TBitmap>>(W).get();
    else if constexpr (std::is_pointer_v<T>)
      return dynamic_cast<T>(std::get<TComponent*>(W));
    else
      return T{};
  }

  static T Handler(const detail::TWire& W) {
    if constexpr (detail::TIsFunction<T>::value) {
      const std::string& name = std::get<std::string>(W);
      const std::any* found = detail::FindHandlerAny(name);
      if (!found) detail::ThrowValueError("the name of a registered event handler");
      const T* fn = std::any_cast<T>(found);
      if (!fn) detail::ThrowValueError("a handler of this event's type");
      return T(detail::TNamedHandler<T>{name, *fn});
    } else {
      return T{};
    }
  }

  detail::TWireType FType;
  TGetter FGetter;
  TSetter FSetter;
  TStoredKind FStored;
  std::optional<T> FDefault;
  TCheck FCheck;
};

// A list of items of type Item, e.g. the pictures of an image list.
template <class C, class TItemT>
class TTypedCollection : public TCollectionPropInfo {
 public:
  /// How a collection property reaches its items.
  struct TAccess {
    std::function<int(C&)> Count;
    std::function<TItemT*(C&, int)> At;
    std::function<void(C&)> Clear;
    std::function<void(C&, TItemT&)> Add;
  };
  TTypedCollection(std::string Name, TReach Reach, TAccess Access, TPropList ItemProps)
      : TCollectionPropInfo(Name, Name, std::move(Reach)),
        FAccess(std::move(Access)),
        FItemProps(std::move(ItemProps)) {}
  const TPropList& ItemProps() const override { return FItemProps; }
  int Count(TObject* I) const override { return FAccess.Count(Object(I)); }
  TObject* Item(TObject* I, int Index) const override { return FAccess.At(Object(I), Index); }
  std::unique_ptr<TObject> NewItem() const override { return std::make_unique<TItemT>(); }
  void Clear(TObject* I) const override { FAccess.Clear(Object(I)); }
  void Add(TObject* I, TObject* It) const override { FAccess.Add(Object(I), *static_cast<TItemT*>(It)); }
  std::unique_ptr<TPropInfo> Clone() const override {
    TPropList items;
    for (auto& p : FItemProps) items.push_back(p->Clone());
    return std::make_unique<TTypedCollection>(FName, FReach, FAccess, std::move(items));
  }

 private:
  C& Object(TObject* Instance) const { return *dynamic_cast<C*>(Target(Instance)); }
  TAccess FAccess;
  TPropList FItemProps;
};

// Declares properties of C (or of a sub-object of type C reached from the owner).
template <class C>
class TPropsBuilder {
 public:
  TPropsBuilder(TPropList& Out, std::string Prefix, std::string Group, TPropInfo::TReach Reach)
      : FOut(Out), FPrefix(std::move(Prefix)), FGroup(std::move(Group)), FReach(std::move(Reach)) {}

  template <class G, class S, class Rule>
  auto& Prop(const std::string& Name, G Getter, S Setter, Rule R) {
    return Add<void>(Name, Getter, Setter, R);
  }
  // A TAlphaColor property, written as a colour name or xAARRGGBB.
  template <class G, class S, class Rule>
  auto& Color(const std::string& Name, G Getter, S Setter, Rule R) {
    return Add<detail::TColorTag>(Name, Getter, Setter, R);
  }
  // Properties of a sub-object (Margins, Fill, TextSettings...), written "Name.Prop".
  template <class G, class F>
  TPropsBuilder& Sub(const std::string& Name, G Getter, F Describe) {
    using S = std::remove_pointer_t<std::decay_t<std::invoke_result_t<G, C&>>>;
    auto reach = FReach;
    TPropInfo::TReach subReach = [reach, Getter](TObject* o) -> TObject* {
      TObject* t = reach ? reach(o) : o;
      C* c = dynamic_cast<C*>(t);
      return c ? static_cast<TObject*>(std::invoke(Getter, *c)) : nullptr;
    };
    TPropsBuilder<S> sub(FOut, FPrefix + Name + ".", FGroup.empty() ? Name : FGroup, subReach);
    Describe(sub);
    return *this;
  }
  // A list of items, written Name = < item ... end >.
  template <class Item, class F>
  TPropsBuilder& Collection(const std::string& Name,
                            typename TTypedCollection<C, Item>::TAccess Access, F DescribeItem) {
    TPropList items;
    TPropsBuilder<Item> ib(items, "", "", nullptr);
    DescribeItem(ib);
    FOut.push_back(std::make_unique<TTypedCollection<C, Item>>(FPrefix + Name, FReach,
                                                                std::move(Access), std::move(items)));
    return *this;
  }

 private:
  template <class Tag, class G, class S, class Rule>
  auto& Add(const std::string& Name, G Getter, S Setter, Rule R) {
    using T = std::decay_t<std::invoke_result_t<G, C&>>;
    using P = TTypedProp<C, T, Tag>;
    typename P::TSetter setter;
    if constexpr (!std::is_same_v<S, std::nullptr_t>)
      setter = [Setter](C& c, const T& v) { std::invoke(Setter, c, v); };
    TStoredKind kind = TStoredKind::Always;
    std::optional<T> def;
    if constexpr (std::is_same_v<Rule, TWrittenWhenNotEmpty>)
      kind = TStoredKind::NotEmpty;
    else if constexpr (std::is_same_v<Rule, TNeverWritten>)
      kind = TStoredKind::Never;
    else if constexpr (!std::is_same_v<Rule, TAlwaysWritten>) {
      kind = TStoredKind::Default;
      def = static_cast<T>(R.Value);
    }
    std::string full = FPrefix + Name;
    if constexpr (std::is_same_v<T, TBitmap*>) full += ".PNG";
    auto prop = std::make_unique<P>(full, FGroup.empty() ? Name.substr(0, Name.find('.')) : FGroup, FReach,
                                    [Getter](C& c) -> T { return std::invoke(Getter, c); },
                                    std::move(setter), kind, std::move(def));
    P& ref = *prop;
    FOut.push_back(std::move(prop));
    return ref;
  }

  TPropList& FOut;
  std::string FPrefix, FGroup;
  TPropInfo::TReach FReach;
};

// ---- classes -----------------------------------------------------------------

/// A class's description: its name, parent, virtual constructor and published properties.
class TMetaClass {
 public:
  using TFactory = TComponent* (*)(TComponent* AOwner);
  TMetaClass(std::string Name, std::type_index Type, const TMetaClass* Parent, TFactory Factory,
             std::function<bool(const TObject*)> IsInstance)
      : FName(std::move(Name)), FType(Type), FParent(Parent), FFactory(Factory),
        FIsInstance(std::move(IsInstance)) {}

  const std::string& ClassName() const { return FName; }
  const TMetaClass* ClassParent() const { return FParent; }
  std::type_index Type() const { return FType; }
  // The virtual constructor; nullptr for classes that cannot be created by name.
  bool CanCreate() const { return FFactory != nullptr; }
  TComponent* Create(TComponent* AOwner) const;
  bool IsInstance(const TObject* O) const { return O && FIsInstance(O); }
  bool InheritsFrom(std::type_index Ancestor) const;
  bool InheritsFrom(const TMetaClass* Ancestor) const;

  // Published properties in declaration order (what is written and read).
  const TPropList& Properties() const { return FPublished; }
  // Case-insensitive, by the written name ("Margins.Top").
  const TPropInfo* FindProperty(std::string_view Name) const;
  // Everything declared here or in an ancestor, published or not (what Inherit picks from).
  const TPropList& Available() const { return FAvailable; }

 private:
  template <class C>
  friend class TClassBuilder;
  std::string FName;
  std::type_index FType;
  const TMetaClass* FParent;
  TFactory FFactory;
  std::function<bool(const TObject*)> FIsInstance;
  TPropList FPublished;
  TPropList FAvailable;
  std::map<std::string, const TPropInfo*> FIndex;  // folded name -> published property
 public:
  // Used while the class is described.
  void AddPublished(std::unique_ptr<TPropInfo> P);
  void AddAvailable(std::unique_ptr<TPropInfo> P);
  void InheritPublished(const std::vector<std::string>& Groups);
  void OrderPublished(const std::vector<std::string>& Groups);
  void CopyParentLists();
};

template <class C>
/// What a class's description receives while it runs (see TDeclareClass): properties, inherited
/// ones, order.
class TClassBuilder : public TPropsBuilder<C> {
 public:
  explicit TClassBuilder(TMetaClass& Meta) : TPropsBuilder<C>(FScratch, "", "", nullptr), FMeta(Meta) {}
  ~TClassBuilder() { Flush(); }
  // Publishes inherited properties by their top-level names, in the order given.
  TClassBuilder& Inherit(const std::vector<std::string>& Groups) {
    Flush();
    FMeta.InheritPublished(Groups);
    return *this;
  }
  // Puts the published properties with these top-level names in the order given, after
  // the ones not named (which keep theirs): e.g. a new property before re-published ones.
  TClassBuilder& Order(const std::vector<std::string>& Groups) {
    Flush();
    FMeta.OrderPublished(Groups);
    return *this;
  }
  // Properties declared after this call are available to descendants but not published here.
  TClassBuilder& Unpublished() {
    Flush();
    FPublishing = false;
    return *this;
  }
  void Flush() {
    for (auto& p : FScratch) {
      if (FPublishing) FMeta.AddPublished(p->Clone());
      FMeta.AddAvailable(std::move(p));
    }
    FScratch.clear();
  }

 private:
  TPropList FScratch;
  TMetaClass& FMeta;
  bool FPublishing = true;
};

namespace detail {
using TDescribe = std::function<void(TMetaClass&)>;
void DeclareClass(std::type_index Type, std::type_index ParentType, std::string Name,
                  TMetaClass::TFactory Factory, std::function<bool(const TObject*)> IsInstance,
                  TDescribe Describe);
const TMetaClass* MetaClassOf(std::type_index Type);
}  // namespace detail

// Declares C (derived from Parent) with its properties. A static object of this type in
// C's .cpp is all a class needs; the description runs on first use of the class.
template <class C, class Parent>
class TDeclareClass {
 public:
  template <class F>
  TDeclareClass(std::string Name, F Describe) {
    TMetaClass::TFactory factory = nullptr;
    if constexpr (std::is_base_of_v<TComponent, C> && !std::is_abstract_v<C> &&
                  std::is_constructible_v<C, TComponent*>)
      factory = [](TComponent* AOwner) -> TComponent* { return new C(AOwner); };
    detail::DeclareClass(
        typeid(C), typeid(Parent), std::move(Name), factory,
        [](const TObject* o) { return dynamic_cast<const C*>(o) != nullptr; },
        [Describe](TMetaClass& meta) {
          TClassBuilder<C> b(meta);
          Describe(b);
        });
  }
};

// The description of C (declared with TDeclareClass); throws EClassNotFound if none.
template <class C>
TClass ClassOf() {
  return detail::MetaClassOf(typeid(C));
}
// The most derived declared class that Instance is an instance of (nullptr if none).
TClass ClassOfInstance(const TObject* Instance);

// ---- registry and palette ------------------------------------------------------

// Makes the class known to stored forms by its name. Registering a class twice is
// harmless; another class under a registered name throws EComponentError.
void RegisterClass(TClass Class);
void RegisterClasses(std::initializer_list<TClass> Classes);
// nullptr when no class of that name is registered (names compare without case).
TClass GetClass(std::string_view Name);
// Throws EClassNotFound when no class of that name is registered.
TClass FindClass(std::string_view Name);
void UnRegisterClass(TClass Class);

// Puts the classes on a designer palette page (and registers them). Pages and their
// classes keep the order of registration.
void RegisterComponents(const std::string& Page, std::initializer_list<TClass> Classes);
/// A designer palette page and the classes on it.
struct TPalettePage {
  std::string Name;
  std::vector<TClass> Classes;
};
std::vector<TPalettePage> PalettePages();

// Creates a registered class by name with an owner; the designer state is set on it
// (and whatever it owns) when Designing is true.
TComponent* CreateComponent(std::string_view ClassName, TComponent* AOwner, bool Designing = false);

// Declares the host's own classes and enumerations (runs once; later calls do nothing).
void EnsureHostClasses();

}  // namespace fmx
