// The ATK objects that stand for the application, its forms and their controls. Each
// answers from the description its form or control gives now; it holds its control
// weakly and reads as defunct once the control is gone.
#include <glib.h>

#include <cctype>
#include <cstring>

#include "AtspiImpl.h"

using fmx::atspi::TNode;

extern "C" {
typedef struct {
  AtkObject Parent;
  TNode* Node;
} ZzAccessible;
typedef struct {
  AtkObjectClass ParentClass;
} ZzAccessibleClass;
typedef struct {
  ZzAccessible Parent;
} ZzWindowAccessible;
typedef struct {
  ZzAccessibleClass ParentClass;
} ZzWindowAccessibleClass;
}

namespace fmx::atspi {
namespace {
void ComponentInit(AtkComponentIface* Iface);
void ActionInit(AtkActionIface* Iface);
}  // namespace
}  // namespace fmx::atspi

static void WindowInit(AtkWindowIface*) {}

G_DEFINE_TYPE_WITH_CODE(ZzAccessible, zz_accessible, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_COMPONENT, fmx::atspi::ComponentInit)
                            G_IMPLEMENT_INTERFACE(ATK_TYPE_ACTION, fmx::atspi::ActionInit))
G_DEFINE_TYPE_WITH_CODE(ZzWindowAccessible, zz_window_accessible, zz_accessible_get_type(),
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_WINDOW, WindowInit))

namespace fmx::atspi {

namespace {

TNode* Node(gpointer Object) { return reinterpret_cast<ZzAccessible*>(Object)->Node; }

AtkRole RoleOf(TAccessibleRole R) {
  switch (R) {
    case TAccessibleRole::Frame: return ATK_ROLE_FRAME;
    case TAccessibleRole::TitleBar: return ATK_ROLE_TITLE_BAR;
    case TAccessibleRole::Panel: return ATK_ROLE_PANEL;
    case TAccessibleRole::Label: return ATK_ROLE_LABEL;
    case TAccessibleRole::PushButton: return ATK_ROLE_PUSH_BUTTON;
    case TAccessibleRole::MenuBar: return ATK_ROLE_MENU_BAR;
    case TAccessibleRole::Menu: return ATK_ROLE_MENU;
    case TAccessibleRole::MenuItem: return ATK_ROLE_MENU_ITEM;
    case TAccessibleRole::CheckMenuItem: return ATK_ROLE_CHECK_MENU_ITEM;
    case TAccessibleRole::RadioMenuItem: return ATK_ROLE_RADIO_MENU_ITEM;
    case TAccessibleRole::Separator: return ATK_ROLE_SEPARATOR;
    case TAccessibleRole::None: break;
  }
  return ATK_ROLE_UNKNOWN;
}

const gchar* GetName(AtkObject* O) {
  TNode* n = Node(O);
  n->Name = Describe(*n).Name;
  return n->Name.c_str();
}

const gchar* GetDescription(AtkObject* O) {
  TNode* n = Node(O);
  n->Description = Describe(*n).Description;
  return n->Description.c_str();
}

AtkRole GetRole(AtkObject* O) {
  TNode* n = Node(O);
  if (n->Kind == TNode::TKind::Application) return ATK_ROLE_APPLICATION;
  return RoleOf(Describe(*n).Role);
}

AtkObject* GetParent(AtkObject* O) {
  TNode* n = Node(O);
  if (n->Kind == TNode::TKind::Application) return nullptr;
  if (n->Kind == TNode::TKind::Form) return RootObject();
  if (AtkObject* p = n->ParentKey != nullptr ? ExistingObject(n->ParentKey) : nullptr) return p;
  // Not listed yet (an event came first): the parent is found from the form down.
  TControl* c = n->Control.Get();
  TCommonCustomForm* f = c != nullptr ? c->ParentForm() : nullptr;
  if (f == nullptr) return nullptr;
  std::vector<AtkObject*> stack{ObjectFor(f)};
  while (!stack.empty()) {
    AtkObject* at = stack.back();
    stack.pop_back();
    for (AtkObject* child : ChildrenOf(at)) {
      if (child == O) return at;
      stack.push_back(child);
    }
  }
  return ObjectFor(f);
}

gint GetNChildren(AtkObject* O) { return static_cast<gint>(ChildrenOf(O).size()); }

AtkObject* RefChild(AtkObject* O, gint I) {
  std::vector<AtkObject*> children = ChildrenOf(O);
  if (I < 0 || static_cast<size_t>(I) >= children.size()) return nullptr;
  return ATK_OBJECT(g_object_ref(children[static_cast<size_t>(I)]));
}

gint GetIndexInParent(AtkObject* O) {
  AtkObject* p = GetParent(O);
  if (p == nullptr) return -1;
  std::vector<AtkObject*> siblings = ChildrenOf(p);
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i] == O) return static_cast<gint>(i);
  return -1;
}

AtkStateSet* RefStateSet(AtkObject* O) {
  AtkStateSet* set = atk_state_set_new();
  TNode* n = Node(O);
  if (n->Defunct) {
    atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
    return set;
  }
  if (n->Kind == TNode::TKind::Application) return set;
  const TAccessibleStates s = Describe(*n).States;
  n->States = s;
  const std::pair<bool, AtkStateType> map[] = {
      {s.Visible, ATK_STATE_VISIBLE},       {s.Showing, ATK_STATE_SHOWING},
      {s.Enabled, ATK_STATE_ENABLED},       {s.Enabled, ATK_STATE_SENSITIVE},
      {s.Focusable, ATK_STATE_FOCUSABLE},   {s.Focused, ATK_STATE_FOCUSED},
      {s.Selectable, ATK_STATE_SELECTABLE}, {s.Selected, ATK_STATE_SELECTED},
      {s.Checkable, ATK_STATE_CHECKABLE},   {s.Checked, ATK_STATE_CHECKED},
      {s.Active, ATK_STATE_ACTIVE},         {s.Expandable, ATK_STATE_EXPANDABLE},
      {s.Expanded, ATK_STATE_EXPANDED}};
  for (const auto& [on, state] : map)
    if (on) atk_state_set_add_state(set, state);
  return set;
}

void Finalize(GObject* O) {
  delete Node(O);
  reinterpret_cast<ZzAccessible*>(O)->Node = nullptr;
  G_OBJECT_CLASS(zz_accessible_parent_class)->finalize(O);
}

// --- AtkComponent -----------------------------------------------------------------------

void GetExtents(AtkComponent* C, gint* X, gint* Y, gint* W, gint* H, AtkCoordType Coords) {
  TNode* n = Node(C);
  TRectF r;
  TCommonCustomForm* f = nullptr;
  if (TControl* c = n->Control.Get()) {
    r = c->AbsoluteRect();
    f = c->ParentForm();
  } else if ((f = n->Form.Get()) != nullptr) {
    r = TRectF(0, 0, static_cast<float>(f->Width()), static_cast<float>(f->Height()));
  }
  float dx = 0, dy = 0;
  if (f != nullptr && Coords == ATK_XY_SCREEN) {
    dx = static_cast<float>(f->Left());
    dy = static_cast<float>(f->Top());
  }
  *X = static_cast<gint>(r.Left + dx);
  *Y = static_cast<gint>(r.Top + dy);
  *W = static_cast<gint>(r.Right - r.Left);
  *H = static_cast<gint>(r.Bottom - r.Top);
}

AtkLayer GetLayer(AtkComponent* C) {
  return Node(C)->Kind == TNode::TKind::Form ? ATK_LAYER_WINDOW : ATK_LAYER_WIDGET;
}

void ComponentInit(AtkComponentIface* Iface) {
  Iface->get_extents = GetExtents;
  Iface->get_layer = GetLayer;
}

// --- AtkAction --------------------------------------------------------------------------

gint GetNActions(AtkAction* A) { return static_cast<gint>(Describe(*Node(A)).Actions.size()); }

const gchar* GetActionName(AtkAction* A, gint I) {
  TNode* n = Node(A);
  const TAccessibleDescription d = Describe(*n);
  if (I < 0 || static_cast<size_t>(I) >= d.Actions.size()) return nullptr;
  n->ActionName = d.Actions[static_cast<size_t>(I)].Name;
  return n->ActionName.c_str();
}

const gchar* GetActionDescription(AtkAction* A, gint I) {
  TNode* n = Node(A);
  const TAccessibleDescription d = Describe(*n);
  if (I < 0 || static_cast<size_t>(I) >= d.Actions.size()) return nullptr;
  n->Description = d.Actions[static_cast<size_t>(I)].Description;
  return n->Description.c_str();
}

// "mnemonic;sequence;shortcut", as toolkits give a menu item's keys.
const gchar* GetKeyBinding(AtkAction* A, gint I) {
  TNode* n = Node(A);
  const TAccessibleDescription d = Describe(*n);
  if (I != 0 || d.Actions.empty()) return nullptr;
  n->KeyBinding.clear();
  if (d.AccessKey != 0)
    n->KeyBinding = std::string("<Alt>") + static_cast<char>(std::tolower(static_cast<unsigned char>(d.AccessKey)));
  n->KeyBinding += ";;" + AtkKeyName(d.ShortCut);
  return n->KeyBinding.c_str();
}

struct TPendingAction {
  TWeak<TControl> Control;
  int Index;
};

// Actions run from the main loop, not inside the bus call that asked for them: an
// action may run application code for as long as it likes (a message box).
gboolean RunAction(gpointer Data) {
  auto* a = static_cast<TPendingAction*>(Data);
  if (TControl* c = a->Control.Get()) DoAccessibleAction(c, a->Index);
  delete a;
  return G_SOURCE_REMOVE;
}

gboolean DoAction(AtkAction* A, gint I) {
  TNode* n = Node(A);
  TControl* c = n->Control.Get();
  if (c == nullptr || I < 0 || static_cast<size_t>(I) >= Describe(*n).Actions.size() ||
      !c->AbsoluteEnabled())
    return FALSE;
  g_idle_add(RunAction, new TPendingAction{TWeak<TControl>(c), I});
  return TRUE;
}

void ActionInit(AtkActionIface* Iface) {
  Iface->get_n_actions = GetNActions;
  Iface->get_name = GetActionName;
  Iface->get_localized_name = GetActionName;
  Iface->get_description = GetActionDescription;
  Iface->get_keybinding = GetKeyBinding;
  Iface->do_action = DoAction;
}

}  // namespace

TNode* NodeOf(AtkObject* Object) { return Node(Object); }

AtkObject* NewObject(TNode::TKind Kind, TCommonCustomForm* AForm, TControl* AControl) {
  const GType type = Kind == TNode::TKind::Form ? zz_window_accessible_get_type() : zz_accessible_get_type();
  auto* o = static_cast<ZzAccessible*>(g_object_new(type, nullptr));
  o->Node = new TNode;
  o->Node->Kind = Kind;
  o->Node->Form = AForm;
  o->Node->Control = AControl;
  AtkObject* a = ATK_OBJECT(o);
  // No role of ATK's own: ours is asked each time.
  a->role = ATK_ROLE_UNKNOWN;
  const TAccessibleDescription d = Describe(*o->Node);
  o->Node->Name = d.Name;
  o->Node->States = d.States;
  return a;
}

void RegisterTypes() {
  g_type_class_unref(g_type_class_ref(zz_window_accessible_get_type()));
  g_type_class_unref(g_type_class_ref(zz_accessible_get_type()));
}

std::string AtkKeyName(const std::string& ShortCut) {
  std::string out, key;
  size_t i = 0;
  auto word = [&](size_t End) {
    std::string w;
    for (size_t k = i; k < End; ++k)
      if (ShortCut[k] != ' ') w += ShortCut[k];
    return w;
  };
  while (i < ShortCut.size()) {
    size_t plus = ShortCut.find('+', i);
    // A "+" that is the key itself ("Ctrl++") ends the text.
    if (plus == i) plus = std::string::npos;
    const size_t end = plus == std::string::npos ? ShortCut.size() : plus;
    std::string w = word(end);
    std::string lower;
    for (char ch : w) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (plus != std::string::npos && (lower == "ctrl" || lower == "control"))
      out += "<Control>";
    else if (plus != std::string::npos && lower == "shift")
      out += "<Shift>";
    else if (plus != std::string::npos && lower == "alt")
      out += "<Alt>";
    else
      key = w.size() == 1 ? lower : w;
    i = plus == std::string::npos ? ShortCut.size() : plus + 1;
  }
  return key.empty() ? std::string() : out + key;
}

}  // namespace fmx::atspi

static void zz_accessible_class_init(ZzAccessibleClass* K) {
  AtkObjectClass* atk = ATK_OBJECT_CLASS(K);
  atk->get_name = fmx::atspi::GetName;
  atk->get_description = fmx::atspi::GetDescription;
  atk->get_role = fmx::atspi::GetRole;
  atk->get_parent = fmx::atspi::GetParent;
  atk->get_n_children = fmx::atspi::GetNChildren;
  atk->ref_child = fmx::atspi::RefChild;
  atk->get_index_in_parent = fmx::atspi::GetIndexInParent;
  atk->ref_state_set = fmx::atspi::RefStateSet;
  G_OBJECT_CLASS(K)->finalize = fmx::atspi::Finalize;
}

static void zz_accessible_init(ZzAccessible* O) { O->Node = nullptr; }

static void zz_window_accessible_class_init(ZzWindowAccessibleClass*) {}

static void zz_window_accessible_init(ZzWindowAccessible*) {}
