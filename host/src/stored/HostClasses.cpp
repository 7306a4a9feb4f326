// The host's classes made known to stored forms and the designer palette. Each class
// is described in ClassDescriptions.cpp (HostProps.h).
#include "stored/HostProps.h"
#include "host/Buttons.h"
#include "host/Effects.h"
#include "host/ImageList.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"
#include "host/Timers.h"

namespace fmx {

void EnsureHostClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  hostprops::DeclareEnums();
  DeclareObjectClasses();
  DeclareControlClasses();
  DeclareStdCtrlClasses();
  DeclareShapeClasses();
  DeclareButtonClasses();
  DeclareEffectClasses();
  DeclareFormClasses();
  DeclareStyleClasses();
  DeclareTimerClasses();
  DeclareImageListClasses();
  RegisterClasses({ClassOf<TForm>(), ClassOf<TFrame>(), ClassOf<TLayout>(), ClassOf<TRectangle>(),
                   ClassOf<TLabel>(), ClassOf<TText>(), ClassOf<TImage>(), ClassOf<TPath>(),
                   ClassOf<TLine>(), ClassOf<TGlyph>(), ClassOf<TSizeGrip>(), ClassOf<TMemo>(),
                   ClassOf<TStyleBook>(), ClassOf<TTimer>(), ClassOf<TImageList>(),
                   ClassOf<TButton>(), ClassOf<TShadowEffect>(), ClassOf<TGlowEffect>()});
  RegisterComponents("Standard", {ClassOf<TButton>(), ClassOf<TLabel>(), ClassOf<TMemo>()});
  RegisterComponents("Shapes", {ClassOf<TRectangle>(), ClassOf<TLine>(), ClassOf<TPath>(),
                                ClassOf<TText>()});
  RegisterComponents("Layouts", {ClassOf<TLayout>(), ClassOf<TFrame>()});
  RegisterComponents("Additional", {ClassOf<TImage>(), ClassOf<TGlyph>(), ClassOf<TSizeGrip>()});
  RegisterComponents("System", {ClassOf<TTimer>(), ClassOf<TImageList>(), ClassOf<TStyleBook>()});
  RegisterComponents("Effects", {ClassOf<TShadowEffect>(), ClassOf<TGlowEffect>()});
}

}  // namespace fmx
