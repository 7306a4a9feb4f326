// A form whose position and size stay inside limits: every change of its bounds, by
// the application, a stored form, the title bar or the window system, passes through
// SetBounds and is clamped there before it reaches the window.
#pragma once

#include <memory>

#include "host/Forms.h"

namespace fmx {

// A minimum and a maximum for a form's left edge, top edge, width and height, in the
// units SetBounds takes. A limit of 0 or less means no limit. Changing a limit acts
// from the form's next SetBounds on.
class TQVConstraints : public TPersistent {
 public:
  TQVConstraints() = default;

  // Takes the eight limits of another TQVConstraints; nullptr lifts every limit.
  void Assign(TPersistent* Source) override;

  /// The largest Left the form may have (0 or less: no limit).
  int MaxLeft() const { return FMaxLeft; }
  /// Sets MaxLeft; the form applies it at its next SetBounds.
  void SetMaxLeft(int Value) { FMaxLeft = Value; }
  /// The largest Top the form may have (0 or less: no limit).
  int MaxTop() const { return FMaxTop; }
  /// Sets MaxTop; the form applies it at its next SetBounds.
  void SetMaxTop(int Value) { FMaxTop = Value; }
  /// The largest Width the form may have (0 or less: no limit).
  int MaxWidth() const { return FMaxWidth; }
  /// Sets MaxWidth; the form applies it at its next SetBounds.
  void SetMaxWidth(int Value) { FMaxWidth = Value; }
  /// The largest Height the form may have (0 or less: no limit).
  int MaxHeight() const { return FMaxHeight; }
  /// Sets MaxHeight; the form applies it at its next SetBounds.
  void SetMaxHeight(int Value) { FMaxHeight = Value; }
  /// The smallest Left the form may have (0 or less: no limit).
  int MinLeft() const { return FMinLeft; }
  /// Sets MinLeft; the form applies it at its next SetBounds.
  void SetMinLeft(int Value) { FMinLeft = Value; }
  /// The smallest Top the form may have (0 or less: no limit).
  int MinTop() const { return FMinTop; }
  /// Sets MinTop; the form applies it at its next SetBounds.
  void SetMinTop(int Value) { FMinTop = Value; }
  /// The smallest Width the form may have (0 or less: no limit).
  int MinWidth() const { return FMinWidth; }
  /// Sets MinWidth; the form applies it at its next SetBounds.
  void SetMinWidth(int Value) { FMinWidth = Value; }
  /// The smallest Height the form may have (0 or less: no limit).
  int MinHeight() const { return FMinHeight; }
  /// Sets MinHeight; the form applies it at its next SetBounds.
  void SetMinHeight(int Value) { FMinHeight = Value; }

 private:
  int FMaxLeft = 0;
  int FMaxTop = 0;
  int FMaxWidth = 0;
  int FMaxHeight = 0;
  int FMinLeft = 0;
  int FMinTop = 0;
  int FMinHeight = 0;
  int FMinWidth = 0;
};

// Derived from TForm (itself a TCustomForm) so that the library's controls, which work
// on TForm descendants, find it as their form: a title bar on it moves, maximises and
// restores the window through the clamping SetBounds.
class TQVConstrainedForm : public TForm {
 public:
  /// Creates the form with no limits, owned by AOwner (nullptr: owned by the application).
  explicit TQVConstrainedForm(TComponent* AOwner);

  // The form's own limits object, alive exactly as long as the form.
  TQVConstraints* Constraints() const { return FConstraints.get(); }
  // Copies the limits of Value into the form's own object; the caller keeps Value.
  void SetConstraints(TQVConstraints* Value);

  // Clamps each quantity (minimum first, then maximum, so a maximum below the minimum
  // wins), hands the clamped rectangle to the window service on every call, then sets it.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

 private:
  // Made before any SetBounds can reach this class.
  const std::unique_ptr<TQVConstraints> FConstraints = std::make_unique<TQVConstraints>();
};

namespace qvconstrainedform {
// Makes TQVConstrainedForm known to stored forms by name (no palette entry).
void Register();
}  // namespace qvconstrainedform

}  // namespace fmx
