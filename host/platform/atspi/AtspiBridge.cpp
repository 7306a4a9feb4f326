// The bridge's start and stop, its registry of objects, the sink that turns the host's
// reports into ATK signals (which the AT-SPI bridge sends on the bus), and the wait
// that runs GLib's main context for it.
//
// ATK with its AT-SPI bridge rather than the AT-SPI D-Bus interfaces by hand: the
// bridge already speaks the whole protocol (registration with the registry, the
// object cache, events, every interface a reader asks for) and is what toolkits that
// are not GTK use; what is left to us is the tree and its signals.
#include "host/platform/atspi/AtspiBridge.h"

#include <atk-bridge.h>
#include <gio/gio.h>
#include <glib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "AtspiImpl.h"

namespace fmx {

namespace atspi {

namespace {

bool GStarted = false;
AtkObject* GRoot = nullptr;
std::unordered_map<const void*, AtkObject*>* GObjects = nullptr;
// The control whose object was last told focused, to tell it unfocused.
const void* GFocusKey = nullptr;
std::string GAppName;

// --- AtkUtil: what the AT-SPI bridge asks of the toolkit ---------------------------------

struct TListener {
  guint Signal;
  gulong Hook;
};
std::unordered_map<guint, TListener>* GListeners = nullptr;
guint GNextListener = 1;

// The bridge asks for signals by "toolkit:Type:signal" and hears them through emission
// hooks, as it does on GTK.
guint AddGlobalEventListener(GSignalEmissionHook Listener, const gchar* EventType) {
  gchar** split = g_strsplit(EventType, ":", 3);
  guint id = 0;
  if (split != nullptr && split[0] != nullptr && split[1] != nullptr && split[2] != nullptr) {
    const GType type = g_type_from_name(split[1]);
    const guint signal = type != 0 ? g_signal_lookup(split[2], type) : 0;
    if (signal != 0) {
      const gulong hook = g_signal_add_emission_hook(signal, 0, Listener, nullptr, nullptr);
      id = GNextListener++;
      (*GListeners)[id] = {signal, hook};
    }
  }
  g_strfreev(split);
  return id;
}

void RemoveGlobalEventListener(guint Id) {
  auto at = GListeners->find(Id);
  if (at == GListeners->end()) return;
  g_signal_remove_emission_hook(at->second.Signal, at->second.Hook);
  GListeners->erase(at);
}

AtkObject* GetRoot() { return GRoot; }
const gchar* GetToolkitName() { return "ZUZided"; }
const gchar* GetToolkitVersion() { return "1.0"; }

// --- reports from the host ---------------------------------------------------------------

void TellState(AtkObject* O, AtkStateType State, bool Was, bool Is) {
  if (Was != Is) atk_object_notify_state_change(O, State, Is ? TRUE : FALSE);
}

// Tells what changed in the node's name and states since it last told them.
void Refresh(AtkObject* O) {
  TNode* n = NodeOf(O);
  if (n->Defunct) return;
  const TAccessibleDescription d = Describe(*n);
  if (d.Name != n->Name) {
    n->Name = d.Name;
    g_object_notify(G_OBJECT(O), "accessible-name");
  }
  const TAccessibleStates was = n->States, &is = d.States;
  n->States = is;
  TellState(O, ATK_STATE_VISIBLE, was.Visible, is.Visible);
  TellState(O, ATK_STATE_SHOWING, was.Showing, is.Showing);
  TellState(O, ATK_STATE_ENABLED, was.Enabled, is.Enabled);
  TellState(O, ATK_STATE_SENSITIVE, was.Enabled, is.Enabled);
  TellState(O, ATK_STATE_SELECTED, was.Selected, is.Selected);
  TellState(O, ATK_STATE_FOCUSED, was.Focused, is.Focused);
  TellState(O, ATK_STATE_CHECKED, was.Checked, is.Checked);
  TellState(O, ATK_STATE_ACTIVE, was.Active, is.Active);
  TellState(O, ATK_STATE_EXPANDED, was.Expanded, is.Expanded);
}

void Forget(const void* Key) {
  if (GFocusKey == Key) GFocusKey = nullptr;
  auto at = GObjects->find(Key);
  if (at == GObjects->end()) return;
  AtkObject* o = at->second;
  GObjects->erase(at);
  TNode* n = NodeOf(o);
  n->Defunct = true;
  n->Key = nullptr;
  atk_object_notify_state_change(o, ATK_STATE_DEFUNCT, TRUE);
  g_object_unref(o);
}

class TSink final : public IAccessibleSink {
 public:
  void ControlChanged(TControl* AControl, TAccessibleEvent AEvent) override {
    switch (AEvent) {
      case TAccessibleEvent::Destroyed:
        Forget(AControl);
        return;
      case TAccessibleEvent::Focused:
        Focus(AControl);
        return;
      default:
        break;
    }
    // A part's change (a glyph's text, a tick shown) shows in the objects above it.
    for (TControl* c = AControl; c != nullptr; c = c->ParentControl())
      if (AtkObject* o = ExistingObject(c)) Refresh(o);
    if (TCommonCustomForm* f = AControl->ParentForm())
      if (AtkObject* o = ExistingObject(f)) Refresh(o);
  }

  void FormChanged(TCommonCustomForm* AForm, TAccessibleEvent AEvent) override {
    if (AEvent == TAccessibleEvent::Destroyed) {
      Forget(AForm);
      return;
    }
    AtkObject* o = AEvent == TAccessibleEvent::Activated || AEvent == TAccessibleEvent::Deactivated
                       ? ObjectFor(AForm)
                       : ExistingObject(AForm);
    if (o == nullptr) return;
    if (AEvent == TAccessibleEvent::Activated) g_signal_emit_by_name(o, "activate");
    if (AEvent == TAccessibleEvent::Deactivated) g_signal_emit_by_name(o, "deactivate");
    Refresh(o);
  }

 private:
  void Focus(TControl* AControl) {
    if (GFocusKey != nullptr && GFocusKey != AControl)
      if (AtkObject* old = ExistingObject(GFocusKey)) Refresh(old);
    AtkObject* o = ObjectFor(AControl);
    GFocusKey = AControl;
    TNode* n = NodeOf(o);
    // Told focused even where it was already (a new object, or the same entry again).
    n->States.Focused = false;
    Refresh(o);
    // (The bridge turns the state change into the focus event too.)
    if (!n->States.Focused) atk_object_notify_state_change(o, ATK_STATE_FOCUSED, TRUE);
  }
};
TSink GSink;

// Whether an accessibility bus runs, asked without starting one: the address in the
// environment, or a session bus on which the accessibility bus's name has an owner.
// Without a session bus in the environment nothing is asked (a lookup could launch one).
bool AccessibilityBusRuns() {
  const char* direct = std::getenv("AT_SPI_BUS_ADDRESS");
  if (direct != nullptr && *direct != '\0') return true;
  const char* session = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (session == nullptr || *session == '\0') return false;
  GError* error = nullptr;
  GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
  if (bus == nullptr) {
    g_clear_error(&error);
    return false;
  }
  GVariant* reply = g_dbus_connection_call_sync(
      bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
      g_variant_new("(s)", "org.a11y.Bus"), G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 2000,
      nullptr, &error);
  bool owned = false;
  if (reply != nullptr) {
    gboolean b = FALSE;
    g_variant_get(reply, "(b)", &b);
    owned = b != FALSE;
    g_variant_unref(reply);
  }
  g_clear_error(&error);
  g_object_unref(bus);
  return owned;
}

}  // namespace

AtkObject* ExistingObject(const void* Key) {
  if (GObjects == nullptr) return nullptr;
  auto at = GObjects->find(Key);
  return at == GObjects->end() ? nullptr : at->second;
}

AtkObject* ObjectFor(TControl* AControl) {
  if (AtkObject* o = ExistingObject(AControl)) return o;
  AtkObject* o = NewObject(TNode::TKind::Control, nullptr, AControl);
  NodeOf(o)->Key = AControl;
  (*GObjects)[AControl] = o;
  return o;
}

AtkObject* ObjectFor(TCommonCustomForm* AForm) {
  if (AtkObject* o = ExistingObject(AForm)) return o;
  AtkObject* o = NewObject(TNode::TKind::Form, AForm, nullptr);
  NodeOf(o)->Key = AForm;
  (*GObjects)[AForm] = o;
  return o;
}

AtkObject* RootObject() { return GRoot; }

TAccessibleDescription Describe(const TNode& Node) {
  TAccessibleDescription d;
  if (Node.Defunct) return d;
  switch (Node.Kind) {
    case TNode::TKind::Application:
      d.Name = GAppName;
      break;
    case TNode::TKind::Form:
      if (TCommonCustomForm* f = Node.Form.Get()) d = DescribeAccessible(f);
      break;
    case TNode::TKind::Control:
      if (TControl* c = Node.Control.Get()) d = DescribeAccessible(c);
      break;
  }
  return d;
}

std::vector<AtkObject*> ChildrenOf(AtkObject* Object) {
  std::vector<AtkObject*> out;
  TNode* n = NodeOf(Object);
  if (n->Defunct) return out;
  if (n->Kind == TNode::TKind::Application) {
    // A form leaves the list as its freeing begins.
    for (TCommonCustomForm* f : Application->Forms()) out.push_back(ObjectFor(f));
    return out;
  }
  std::vector<TControl*> controls;
  if (TCommonCustomForm* f = n->Form.Get())
    controls = AccessibleChildren(f);
  else if (TControl* c = n->Control.Get())
    controls = AccessibleChildren(c);
  for (TControl* c : controls) {
    AtkObject* o = ObjectFor(c);
    NodeOf(o)->ParentKey = n->Key;
    out.push_back(o);
  }
  return out;
}

}  // namespace atspi

bool TAtspiBridge::Start() {
  using namespace atspi;
  if (GStarted) return true;
  const char* off = std::getenv("NO_AT_BRIDGE");
  if (off != nullptr && std::strcmp(off, "0") != 0) return false;
  if (!AccessibilityBusRuns()) return false;

  if (GObjects == nullptr) GObjects = new std::unordered_map<const void*, AtkObject*>;
  if (GListeners == nullptr) GListeners = new std::unordered_map<guint, TListener>;
  if (g_get_prgname() == nullptr) g_set_prgname(program_invocation_short_name);
  GAppName = g_get_prgname();
  auto* util = ATK_UTIL_CLASS(g_type_class_ref(ATK_TYPE_UTIL));
  util->get_root = GetRoot;
  util->get_toolkit_name = GetToolkitName;
  util->get_toolkit_version = GetToolkitVersion;
  util->add_global_event_listener = AddGlobalEventListener;
  util->remove_global_event_listener = RemoveGlobalEventListener;
  // The bridge looks up the window and component signals by name: their types must be
  // known before it starts.
  RegisterTypes();
  GRoot = NewObject(TNode::TKind::Application, nullptr, nullptr);
  if (atk_bridge_adaptor_init(nullptr, nullptr) != 0) {
    g_object_unref(GRoot);
    GRoot = nullptr;
    return false;
  }
  TAccessibility::SetSink(&GSink);
  GStarted = true;
  return true;
}

void TAtspiBridge::Stop() {
  using namespace atspi;
  if (!GStarted) return;
  TAccessibility::SetSink(nullptr);
  while (!GObjects->empty()) Forget(GObjects->begin()->first);
  DispatchPending();
  atk_bridge_adaptor_cleanup();
  g_object_unref(GRoot);
  GRoot = nullptr;
  GStarted = false;
}

bool TAtspiBridge::Active() { return atspi::GStarted; }

void TAtspiBridge::Wait(int Fd, int TimeoutMs) {
  GMainContext* ctx = g_main_context_default();
  if (!g_main_context_acquire(ctx)) return;
  gint priority = 0;
  g_main_context_prepare(ctx, &priority);
  std::vector<GPollFD> fds(8);
  gint glibTimeout = -1;
  gint n;
  while ((n = g_main_context_query(ctx, priority, &glibTimeout, fds.data(), static_cast<gint>(fds.size()))) >
         static_cast<gint>(fds.size()))
    fds.resize(static_cast<size_t>(n));
  fds.resize(static_cast<size_t>(n));
  if (Fd >= 0) fds.push_back({Fd, G_IO_IN, 0});
  int timeout = TimeoutMs;
  if (glibTimeout >= 0 && (timeout < 0 || glibTimeout < timeout)) timeout = glibTimeout;
  g_poll(fds.data(), static_cast<guint>(fds.size()), timeout);
  if (g_main_context_check(ctx, priority, fds.data(), n)) g_main_context_dispatch(ctx);
  g_main_context_release(ctx);
}

void TAtspiBridge::DispatchPending() {
  // Bounded: a source that is always ready must not keep the window from its events.
  for (int i = 0; i < 64 && g_main_context_iteration(nullptr, FALSE); ++i) {
  }
}

}  // namespace fmx
