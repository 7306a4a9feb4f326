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

  int MaxLeft() const { return FMaxLeft; }
  void SetMaxLeft(int Value) { FMaxLeft = Value; }
  int MaxTop() const { return FMaxTop; }
  void SetMaxTop(int Value) { FMaxTop = Value; }
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value) { FMaxWidth = Value; }
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value) { FMaxHeight = Value; }
  int MinLeft() const { return FMinLeft; }
  void SetMinLeft(int Value) { FMinLeft = Value; }
  int MinTop() const { return FMinTop; }
  void SetMinTop(int Value) { FMinTop = Value; }
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value) { FMinWidth = Value; }
  int MinHeight() const { return FMinHeight; }
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
