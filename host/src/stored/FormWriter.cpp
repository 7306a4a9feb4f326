// Writing stored forms: published properties in declaration order, those equal to
// their stored default left out, children nested in their parents.
#include <algorithm>
#include <unordered_set>

#include "stored/FormText.h"
#include "host/Objects.h"
#include "host/Streaming.h"

namespace fmx {

using detail::TWire;
using detail::TWireKind;

namespace {

std::string Pad(int Indent) { return std::string(static_cast<size_t>(Indent), ' '); }

class TWriter {
 public:
  explicit TWriter(TComponent* Root) : FRoot(Root) { Collect(Root); }

  void WriteObject(TComponent* C, int Indent) {
    TClass cls = ClassOfInstance(C);
    if (!cls) throw EComponentError("cannot write " + C->ClassName() + ": the class is not declared");
    Out += Pad(Indent) + "object ";
    if (!C->Name().empty()) Out += C->Name() + ": ";
    Out += cls->ClassName() + "\n";
    WriteProps(C, cls->Properties(), Indent + 2);
    for (TComponent* child : StoredChildren(C)) WriteObject(child, Indent + 2);
    Out += Pad(Indent) + "end\n";
  }

  std::string Out;

 private:
  // What the text will hold. A reference is written only to one of these: anything
  // else (a component the root owns that sits on another form, say) has no object in
  // the text for the reader to find, and the reader would refuse the whole text.
  void Collect(TComponent* C) {
    FWritten.insert(C);
    for (TComponent* child : StoredChildren(C)) Collect(child);
  }

  // Parented children in z-order; for the root also the components it owns that have
  // no parent (timers, image lists, style books). The reader makes every object of the
  // control tree (a timer, a style book) a child of the object it is written in, after
  // the children before it: so those come first, and then the components that take no
  // parent, and the text reads back in the order it was written.
  std::vector<TComponent*> StoredChildren(TComponent* C) {
    std::vector<TComponent*> out;
    auto owned = [&](TComponent* x) { return x != FRoot && x->Owner() == FRoot; };
    if (auto* fmx = dynamic_cast<TFmxObject*>(C))
      for (TFmxObject* ch : fmx->ChildrenList())
        if (ch->Stored() && owned(ch)) out.push_back(ch);
    if (C == FRoot)
      for (bool treeObjects : {true, false})
        for (int i = 0; i < FRoot->ComponentCount(); ++i) {
          TComponent* x = FRoot->Components(i);
          auto* fx = dynamic_cast<TFmxObject*>(x);
          if ((fx != nullptr) != treeObjects || (fx && (fx->Parent() || !fx->Stored()))) continue;
          out.push_back(x);
        }
    return out;
  }

  void WriteProps(TObject* O, const TPropList& Props, int Indent) {
    for (const auto& p : Props) {
      if (!p->IsStored(O)) continue;
      if (p->IsCollection()) {
        WriteCollection(O, static_cast<const TCollectionPropInfo&>(*p), Indent);
        continue;
      }
      std::string value;
      if (!FormatValue(*p, p->Get(O), Indent, value)) continue;
      Out += Pad(Indent) + p->Name() + " =" + value + "\n";
    }
  }

  void WriteCollection(TObject* O, const TCollectionPropInfo& P, int Indent) {
    int n = P.Count(O);
    Out += Pad(Indent) + P.Name() + " = <";
    for (int i = 0; i < n; ++i) {
      Out += "\n" + Pad(Indent + 2) + "item\n";
      WriteProps(P.Item(O, i), P.ItemProps(), Indent + 4);
      Out += Pad(Indent + 2) + "end";
    }
    Out += ">\n";
  }

  // The text after "Name =", or false when the value cannot be written (a reference to
  // something outside the stored tree).
  bool FormatValue(const TPropInfo& P, const TWire& V, int Indent, std::string& Out) {
    const detail::TWireType& t = P.Type();
    switch (t.Kind) {
      case TWireKind::Integer:
        Out = " " + std::to_string(std::get<int64_t>(V));
        return true;
      case TWireKind::Float:
        Out = " " + formtext::FormatFloat(std::get<double>(V));
        return true;
      case TWireKind::Bool:
        Out = std::get<bool>(V) ? " True" : " False";
        return true;
      case TWireKind::String:
        Out = formtext::QuoteString(std::get<std::string>(V), Indent);
        return true;
      case TWireKind::Char: {
        std::string s;
        formtext::Utf16ToUtf8(std::u16string(1, static_cast<char16_t>(std::get<int64_t>(V))), s);
        if (s.empty()) s = std::string(1, '\0');
        Out = formtext::QuoteString(s, Indent);
        if (std::get<int64_t>(V) >= 0xD800 && std::get<int64_t>(V) <= 0xDFFF)
          Out = " #" + std::to_string(std::get<int64_t>(V));
        return true;
      }
      case TWireKind::Enum: {
        auto i = std::get<int64_t>(V);
        if (i < 0 || static_cast<size_t>(i) >= t.Names->size()) return false;
        Out = " " + (*t.Names)[static_cast<size_t>(i)];
        return true;
      }
      case TWireKind::Set: {
        auto bits = static_cast<uint64_t>(std::get<int64_t>(V));
        Out = " [";
        bool first = true;
        for (size_t i = 0; i < t.Names->size() && i < 64; ++i)
          if (bits & (uint64_t{1} << i)) {
            Out += (first ? "" : ", ") + (*t.Names)[i];
            first = false;
          }
        Out += "]";
        return true;
      }
      case TWireKind::Color:
        Out = " " + formtext::FormatColor(static_cast<uint32_t>(std::get<int64_t>(V)));
        return true;
      case TWireKind::Binary:
      case TWireKind::Png:
        Out = formtext::FormatBinary(std::get<std::vector<uint8_t>>(V), Indent);
        return true;
      case TWireKind::Ref: {
        TComponent* c = std::get<TComponent*>(V);
        if (!c || c->Name().empty() || FWritten.count(c) == 0) return false;
        Out = " " + c->Name();
        return true;
      }
      case TWireKind::Event: {
        const std::string& name = std::get<std::string>(V);
        if (name.empty()) return false;
        Out = " " + name;
        return true;
      }
    }
    return false;
  }

  TComponent* FRoot;
  std::unordered_set<const TComponent*> FWritten;
};

}  // namespace

std::string WriteComponentToText(TComponent* Root) {
  TWriter w(Root);
  w.WriteObject(Root, 0);
  return w.Out;
}

}  // namespace fmx
