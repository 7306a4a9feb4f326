#include "FMX.QVTitleBar.h"

#include <cmath>

#include "FMX.QVTitleBarNames.h"
#include "FMX.QVUtils.h"
#include "host/Registry.h"
#include "host/Dialogs.h"

namespace fmx {

using namespace qvtitlebar;

namespace {

float ClampUnit(float v) {
  if (std::isnan(v) || v < 0) return 0;
  return v > 1 ? 1 : v;
}

// The private children: owned by the title bar, never written to a stored form, not
// selectable in the designer.
enum class TPrivateTag { Tagged, Untagged };

template <class T>
T* MakePrivate(TComponent* Owner, TPrivateTag Tag = TPrivateTag::Tagged) {
  auto* c = new T(Owner);
  c->SetLocked(true);
  c->SetStored(false);
  if (Tag == TPrivateTag::Tagged) c->SetTag(kPrivateTag);
  return c;
}

// The published properties, in declaration order, with what the stored form leaves out.
const TDeclareClass<TQVTitleBar, TPresentedControl> TitleBarClass("TQVTitleBar", [](auto& c) {
  DeclareEnum<TCaptionAlignment>({"caNone", "caLeft", "caCenter"});
  DeclareEnum<TTitleBarHeight>({"thSmallHeight", "thMiddleHeight", "thLargeHeight"});
  DeclareEnum<TToolButtonStyle>({"tsText", "tsBitmap"});
  using T = TQVTitleBar;
  c.Prop("TitleBarEnabled", &T::TitleBarEnabled, &T::SetTitleBarEnabled, AlwaysWritten);
  c.Color("FormColor", &T::FormColor, &T::SetFormColor, AlwaysWritten);
  // The constructor's opacity is the one left out, so a transparent background (0) is
  // written and comes back. A text without FormOpacity loads with 1.0, as every such
  // text always has, whichever default it was written with.
  c.Prop("FormOpacity", &T::FormOpacity, &T::SetFormOpacity, Default(1.0f));
  c.Color("FontColor", &T::FontColor, &T::SetFontColor, AlwaysWritten);
  c.Prop("CaptionAlignment", &T::CaptionAlignment, &T::SetCaptionAlignment, AlwaysWritten);
  c.Prop("Caption", &T::Caption, &T::SetCaption, Default(""));
  c.Color("BorderActiveColor", &T::BorderActiveColor, &T::SetBorderActiveColor,
          Default(TAlphaColor{0xFF008000}));
  c.Color("BorderDeactiveColor", &T::BorderDeactiveColor, &T::SetBorderDeactiveColor,
          Default(TAlphaColor{0xFF808080}));
  c.Prop("DefaultFormColor", &T::DefaultFormColor, &T::SetDefaultFormColor, AlwaysWritten);
  c.Prop("Radian", &T::Radian, &T::SetRadian, Default(0.0f));
  c.Prop("TitleBarHeight", &T::TitleBarHeight, &T::SetTitleBarHeight, AlwaysWritten);
  c.Prop("LogoBitmap", &T::LogoBitmap, &T::SetLogoBitmap, WrittenWhenNotEmpty);
  c.Prop("ToolMinBitmap", &T::ToolMinBitmap, &T::SetToolMinBitmap, WrittenWhenNotEmpty);
  c.Prop("ToolMaxBitmap", &T::ToolMaxBitmap, &T::SetToolMaxBitmap, WrittenWhenNotEmpty);
  c.Prop("ToolRestoreBitmap", &T::ToolRestoreBitmap, &T::SetToolRestoreBitmap, WrittenWhenNotEmpty);
  c.Prop("ToolCloseBitmap", &T::ToolCloseBitmap, &T::SetToolCloseBitmap, WrittenWhenNotEmpty);
  c.Prop("ToolButtonStyle", &T::ToolButtonStyle, &T::SetToolButtonStyle, AlwaysWritten);
  c.Prop("SizeGripVisible", &T::SizeGripVisible, &T::SetSizeGripVisible, AlwaysWritten);
  c.Inherit({"Anchors", "ClipChildren", "ClipParent", "Cursor", "Enabled", "Locked", "Hint",
             "HitTest", "Height", "Padding", "Margins", "Position", "Scale", "ParentShowHint",
             "ShowHint", "TabOrder", "TabStop", "Width"});
  c.Prop("Visible", &T::Visible, &TQVTitleBarStoring::SetVisible, Default(true));
  c.Inherit({"OnPainting", "OnPaint", "OnResize", "OnResized", "OnDragEnter", "OnDragLeave",
             "OnDragOver", "OnDragDrop", "OnDragEnd", "OnClick", "OnDblClick", "OnMouseDown",
             "OnMouseMove", "OnMouseUp", "OnMouseWheel", "OnMouseEnter", "OnMouseLeave"});
});

}  // namespace

void TQVTitleBarStoring::SetVisible(TQVTitleBar& Bar, bool Value) {
  Bar.FVisibleUnread = false;
  Bar.SetVisible(Value);
}

// --- construction ---------------------------------------------------------------

TQVTitleBar::TQVTitleBar(TComponent* AOwner)
    : TPresentedControl(AOwner),
      FTakeOver(this) {
  if (!BothLoadingFlags()) {
    FOwnerF = __QV_窗体_获取根窗体(Owner());
    if (FOwnerF != nullptr) {
      // The title bar acts on its form for as long as both live.
      FStyleB = __QV_样式_GetStyleBook(FOwnerF);
      if (FStyleB != nullptr) {
        FFormColor = __QV_颜色_获取样式本中窗体背景颜色(FStyleB);
        FFontColor = __QV_颜色_获取样式本中字体颜色(FStyleB);
      }
    }
    // Placing the window's parts on the form lays the form out, which runs its controls'
    // handlers; one may free the form and with it this bar. Building then goes on
    // harmlessly: the bar is off its form, and what it makes now goes with it. The caller
    // learns of it from its link to the form.
    TDispatchScope scope;
    __QV_CreateTitleBarAppearance();
    __QV_CreateTitleBarPopUpMenuBar();
    if (!IsDesigning()) {
      F_ActiveTimer->SetEnabled(true);
      __QV_ListenToForm();
    }
  }

  FLogoBitmap = std::make_unique<TBitmap>();
  FLogoBitmap->SetOnChange([this](TObject* s) { __QV_OnLogoBitmapChanged(s); });
  FToolMinBitmap = std::make_unique<TBitmap>();
  FToolMinBitmap->SetOnChange([this](TObject* s) { __QV_OnToolMinBitmapChanged(s); });
  FToolMaxBitmap = std::make_unique<TBitmap>();
  FToolMaxBitmap->SetOnChange([this](TObject* s) { __QV_OnToolMaxBitmapChanged(s); });
  FToolRestoreBitmap = std::make_unique<TBitmap>();
  FToolRestoreBitmap->SetOnChange([this](TObject* s) { __QV_OnToolRestoreBitmapChanged(s); });
  FToolCloseBitmap = std::make_unique<TBitmap>();
  FToolCloseBitmap->SetOnChange([this](TObject* s) { __QV_OnToolCloseBitmapChanged(s); });

  FBorderActiveColor = 0xFF008000;
  FBorderDeactiveColor = 0xFF808080;
  FFormOpacity = 1.0f;
  FTitleBarHeight = TTitleBarHeight::thSmallHeight;
  FTBHeight = kBaseHeight;
  FToolButtonStyle = TToolButtonStyle::tsText;
  FPopupMenuShowed = false;
  FWindowStateIsMax = false;
  FDblClicked = false;
  FMMCButtonDowned = false;
  FSizeGripVisible = false;
  FDefaultFormColor = false;

  SetAlign(TAlignLayout::MostTop);
  Position()->SetY(0);
  SetHeight(kBaseHeight);
  SetHitTest(true);
  Margins()->Set(0, 0.5f, 0, 0);

  __QV_DoDynamicUpdateTitleBarColor();

  if (IsDesigning()) {
    SetVisible(true);
  } else if (FOwnerF != nullptr) {
    SetVisible(FOwnerF->Transparency());
    // A bar disabled after it was made stays shown on a form that is no longer
    // transparent, and its stored form leaves Visible out: a bar the form loader makes
    // is shown by Loaded unless the text hides it.
    FVisibleUnread = FOwnerF->IsLoading();
  }

  FPaintBackgroundColorCount = 0;
}

void TQVTitleBar::__QV_CreateTitleBarAppearance() {
  auto handlersOf = [this](TRectangle* r) {
    r->SetOnMouseEnter([this](TObject* s) { __QV_MinMaxCloseButton_MouseEnter(s); });
    r->SetOnMouseLeave([this](TObject* s) { __QV_MinMaxCloseButton_MouseLeave(s); });
    r->SetOnMouseDown([this](TObject* s, TMouseButton b, TShiftState sh, float x, float y) {
      __QV_MinMaxCloseButton_MouseDown(s, b, sh, x, y);
    });
    r->SetOnMouseUp([this](TObject* s, TMouseButton b, TShiftState sh, float x, float y) {
      __QV_MinMaxCloseButton_MouseUp(s, b, sh, x, y);
    });
  };
  auto glyph = [this](TLayout* cell, const char* text) {
    auto* l = MakePrivate<TLabel>(this);
    l->SetParent(cell);
    l->SetHitTest(false);
    l->SetAlign(TAlignLayout::Client);
    l->SetVisible(true);
    l->SetStyledSettings({});
    l->TextSettings()->Font()->SetFamily("Webdings");
    l->TextSettings()->Font()->SetSize(16);
    l->TextSettings()->SetHorzAlign(TTextAlign::Center);
    l->TextSettings()->SetVertAlign(TTextAlign::Center);
    l->SetText(text);
    return l;
  };
  auto image = [this](TLayout* cell) {
    auto* i = MakePrivate<TImage>(this);
    i->SetParent(cell);
    i->SetHitTest(false);
    i->SetAlign(TAlignLayout::Center);
    i->SetVisible(false);
    return i;
  };
  auto buttonSurface = [&](TLayout* cell, const std::string& name) {
    auto* r = MakePrivate<TRectangle>(this);
    r->SetParent(cell);
    r->SetName(name);
    r->SetHitTest(true);
    r->SetVisible(true);
    r->Stroke()->SetKind(TBrushKind::None);
    r->SetAlign(TAlignLayout::Client);
    r->Fill()->SetColor(kTransparent);
    handlersOf(r);
    return r;
  };

  // The parts that live on the form join it last and hidden, so the form lays nothing
  // out anew; should a handler of the form's still free the form (and so this bar), the
  // bar has no form any more, and the rest is made on an owner that is going.
  TDispatchScope scope;
  // 1. Window background and border, on the form, behind everything.
  F_FormBackground = MakePrivate<TRectangle>(this, TPrivateTag::Untagged);
  F_FormBackground->SetHitTest(true);
  F_FormBackground->SetAlign(TAlignLayout::Contents);
  F_FormBackground->SetVisible(false);
  F_FormBackground->SetOpacity(FFormOpacity);
  F_FormBackground->Fill()->SetKind(TBrushKind::Solid);
  F_FormBackground->Stroke()->SetColor(FBorderActiveColor);
  F_FormBackground->Fill()->SetColor(FFormColor);
  F_FormBackground->SetParent(FOwnerF);
  F_FormBackground->SetTabOrder(0);
  F_FormBackground->SendToBack();

  // 2-3. Status strip with the size grip.
  F_StatusBar = MakePrivate<TLayout>(this);
  F_StatusBar->SetHitTest(false);
  F_StatusBar->SetHeight(32);
  F_StatusBar->SetAlign(TAlignLayout::MostBottom);
  F_StatusBar->SetVisible(false);
  F_SizeGrip = MakePrivate<TSizeGrip>(this);
  F_SizeGrip->SetParent(F_StatusBar);
  F_SizeGrip->SetHitTest(true);
  F_SizeGrip->SetAlign(TAlignLayout::MostRight);
  F_SizeGrip->SetVisible(true);
  F_StatusBar->SetParent(FOwnerF);

  // 4. Tint over the whole bar.
  F_TitleBarBackgroundColor = MakePrivate<TRectangle>(this);
  F_TitleBarBackgroundColor->SetParent(this);
  F_TitleBarBackgroundColor->SetHitTest(false);
  F_TitleBarBackgroundColor->SetAlign(TAlignLayout::Contents);
  F_TitleBarBackgroundColor->SetVisible(true);
  F_TitleBarBackgroundColor->Fill()->SetColor(kBlack);
  F_TitleBarBackgroundColor->Fill()->SetKind(TBrushKind::Solid);
  F_TitleBarBackgroundColor->Stroke()->SetKind(TBrushKind::None);
  F_TitleBarBackgroundColor->SetOpacity(0.4f);
  F_TitleBarBackgroundColor->SendToBack();

  // 5. Logo.
  F_Logo = MakePrivate<TImage>(this);
  F_Logo->SetParent(this);
  F_Logo->SetHitTest(true);
  F_Logo->SetVisible(true);
  F_Logo->SetWidth(24);
  F_Logo->SetAlign(TAlignLayout::MostLeft);
  F_Logo->Position()->SetX(0);
  F_Logo->Margins()->SetTop(6);
  F_Logo->Margins()->SetBottom(F_Logo->Margins()->Top());
  F_Logo->Margins()->SetLeft(F_Logo->Margins()->Top());
  F_Logo->Margins()->SetRight(F_Logo->Margins()->Top());
  F_Logo->SetOnMouseDown([this](TObject* s, TMouseButton b, TShiftState sh, float x, float y) {
    __QV_LOGO_MouseDown(s, b, sh, x, y);
  });

  // 6-7. Caption, under the tint.
  F_CaptionContainer = MakePrivate<TLayout>(this);
  F_CaptionContainer->SetParent(this);
  F_CaptionContainer->SetHitTest(false);
  F_CaptionContainer->SetAlign(TAlignLayout::Contents);
  F_CaptionContainer->SetVisible(true);
  F_CaptionContainer->SendToBack();
  F_Caption = MakePrivate<TLabel>(this);
  F_Caption->SetParent(F_CaptionContainer);
  F_Caption->SetHitTest(false);
  F_Caption->SetAlign(TAlignLayout::Contents);
  F_Caption->SetVisible(true);
  F_Caption->SetStyledSettings(F_Caption->StyledSettings() - TStyledSetting::Size -
                               TStyledSetting::FontColor);
  F_Caption->TextSettings()->SetFontColor(kWhite);
  F_Caption->TextSettings()->Font()->SetSize(F_Caption->TextSettings()->Font()->Size() + 4);

  // 8-11. Close cell.
  F_ContainerClose = MakePrivate<TLayout>(this);
  F_ContainerClose->SetParent(this);
  F_ContainerClose->SetHitTest(false);
  F_ContainerClose->SetVisible(true);
  F_ContainerClose->SetWidth(54);
  F_ContainerClose->Position()->SetX(F_ContainerClose->Width() - F_ContainerClose->Width() - 3);
  F_ContainerClose->SetAlign(TAlignLayout::MostRight);
  F_ContainerClose->Padding()->SetTop(1);
  F_ContainerClose->Padding()->SetRight(1);
  F_ContainerClose->Padding()->SetBottom(1);
  F_BackgroundClose = buttonSurface(F_ContainerClose, CloseName());
  F_TextClose = glyph(F_ContainerClose, "r");
  F_ToolClose = image(F_ContainerClose);

  // 12-16. Maximise/restore cell.
  F_ContainerMax = MakePrivate<TLayout>(this);
  F_ContainerMax->SetParent(this);
  F_ContainerMax->SetHitTest(false);
  F_ContainerMax->SetVisible(true);
  F_ContainerMax->SetWidth(48);
  F_ContainerMax->Position()->SetX(F_ContainerClose->Position()->X() - F_ContainerMax->Width() - 3);
  F_ContainerMax->SetAlign(TAlignLayout::MostRight);
  F_ContainerMax->Padding()->SetTop(1);
  F_ContainerMax->Padding()->SetBottom(1);
  F_BackgroundMax = buttonSurface(F_ContainerMax, MaxName());
  F_TextMax = glyph(F_ContainerMax, "1");
  F_ToolMax = image(F_ContainerMax);
  F_ToolRestore = image(F_ContainerMax);

  // 17-20. Minimise cell.
  F_ContainerMin = MakePrivate<TLayout>(this);
  F_ContainerMin->SetParent(this);
  F_ContainerMin->SetHitTest(false);
  F_ContainerMin->SetVisible(true);
  F_ContainerMin->SetWidth(48);
  F_ContainerMin->Position()->SetX(F_ContainerMax->Position()->X() - F_ContainerMin->Width() - 3);
  F_ContainerMin->SetAlign(TAlignLayout::MostRight);
  F_ContainerMin->Margins()->SetLeft(6);
  F_ContainerMin->Padding()->SetTop(1);
  F_ContainerMin->Padding()->SetBottom(1);
  F_BackgroundMin = buttonSurface(F_ContainerMin, MinName());
  F_TextMin = glyph(F_ContainerMin, "0");
  F_ToolMin = image(F_ContainerMin);

  // 21-22. Timers: no owner, freed by the destructor.
  F_ActiveTimer = std::make_unique<TTimer>(nullptr);
  F_ActiveTimer->SetEnabled(false);
  F_ActiveTimer->SetInterval(100);
  F_ActiveTimer->SetStored(false);
  F_ActiveTimer->SetOnTimer([this](TObject* s) { __QV_TimerActive(s); });
  F_TimerHidePopupMenuBar = std::make_unique<TTimer>(nullptr);
  F_TimerHidePopupMenuBar->SetEnabled(false);
  F_TimerHidePopupMenuBar->SetInterval(100);
  F_TimerHidePopupMenuBar->SetStored(false);
  F_TimerHidePopupMenuBar->SetOnTimer([this](TObject* s) { __QV_TimerOnTimer(s); });
}

// --- destruction --------------------------------------------------------------

TQVTitleBar::~TQVTitleBar() = default;

void TQVTitleBar::BeforeDestruction() {
  TPresentedControl::BeforeDestruction();
  // A title bar that goes while its menu is open leaves no handler of its own behind.
  __QV_GiveBackControl();
  F_ActiveTimer.reset();
  F_TimerHidePopupMenuBar.reset();
  // Freeing these takes them off the form. A link reads null once its control is
  // being freed already (say it was moved below something that is going away).
  delete F_FormBackground.Get();
  delete F_StatusBar.Get();
  // A form that is itself going away is past caring about its frame (its link reads
  // null then).
  if (TForm* form = FOwnerF.Get()) {
    form->RemoveFreeNotification(this);
    if (form->Transparency()) form->SetTransparency(false);
  }
  // Code still running on this title bar finds no form to act on.
  FOwnerF = nullptr;
  if (TStyleBook* book = FStyleB.Get()) book->RemoveFreeNotification(this);
}

void TQVTitleBar::Notification(TComponent* AComponent, TOperation Operation) {
  TPresentedControl::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove) return;
  // Links to what others free: the form, its style book, and the private controls
  // that live on the form (the form frees its children when it goes first).
  if (AComponent == FOwnerF) FOwnerF = nullptr;
  if (AComponent == FStyleB) FStyleB = nullptr;
  if (FTakeOver.Forget(AComponent)) {
    // The control goes with the handlers it carries; with nothing taken over, the
    // timer watches again for the next control under the mouse.
    if (FPopupMenuShowed && !IsDestroying() && F_TimerHidePopupMenuBar != nullptr)
      F_TimerHidePopupMenuBar->SetEnabled(true);
  }
  if (AComponent == F_FormBackground) F_FormBackground = nullptr;
  if (AComponent == F_StatusBar) {
    F_StatusBar = nullptr;
    F_SizeGrip = nullptr;
  }
  if (AComponent == F_SizeGrip) F_SizeGrip = nullptr;
}

// --- colours --------------------------------------------------------------------

void TQVTitleBar::__QV_DoDynamicUpdateTitleBarColor() {
  if (FOwnerF == nullptr) return;
  bool fromStyle = false;
  if (FStyleB != nullptr) {
    SetFormColor(__QV_颜色_获取样式本中窗体背景颜色(FStyleB));
    // Pure white is what a style without a background colour reads as.
    if (FFormColor != kWhite) {
      SetFontColor(__QV_颜色_获取样式本中字体颜色(FStyleB));
      fromStyle = true;
    }
  }
  if (!fromStyle) {
    TBrush* fill = FOwnerF->Fill();
    if (fill->Kind() == TBrushKind::Solid) {
      SetFormColor(fill->Color());
      SetFontColor(fill->Color() == kBlack ? kWhite : kBlack);
    } else {
      SetFormColor(kWhite);
      SetFontColor(kBlack);
    }
  }
  if (F_TitleBarBackgroundColor == nullptr) return;  // bare: nothing to colour
  F_TitleBarBackgroundColor->Fill()->SetColor(FFontColor);
  if (FFontColor == kWhite)
    F_TitleBarBackgroundColor->SetOpacity(0.2f);
  else if (FFontColor == kBlack)
    F_TitleBarBackgroundColor->SetOpacity(0.4f);
  if (F_FormBackground != nullptr) F_FormBackground->Fill()->SetColor(FFormColor);
  __QV_ColourSystemMenu(false);
  for (TLabel* l : {F_Caption, F_TextMin, F_TextMax, F_TextClose})
    l->TextSettings()->SetFontColor(FFontColor);
}

void TQVTitleBar::SetFormColor(TAlphaColor Value) {
  if (Value == FFormColor) return;
  FFormColor = Value;
  if (F_FormBackground != nullptr) F_FormBackground->Fill()->SetColor(Value);
}

void TQVTitleBar::SetFontColor(TAlphaColor Value) {
  if (Value == FFontColor) return;
  FFontColor = Value;
  if (F_Caption == nullptr) return;
  for (TLabel* l : {F_Caption, F_TextMin, F_TextMax, F_TextClose})
    l->TextSettings()->SetFontColor(Value);
}

// --- after loading ----------------------------------------------------------------

void TQVTitleBar::Loaded() {
  TPresentedControl::Loaded();
  // What the setters took silently while loading is shown now. Showing the strip lays
  // the form out, whose handlers may free this bar.
  TDispatchScope scope;
  if (F_StatusBar != nullptr) F_StatusBar->SetVisible(FSizeGripVisible);
  if (IsDestroying()) return;
  if (FRadian != 0) __QV_ApplyRadian();
  if (FVisibleUnread) {
    FVisibleUnread = false;
    SetVisible(true);
  }
  // A loaded form gets its style book only after its children were created, so the
  // book the stored colours came from is looked up again here; the colours written stay
  // until the bar paints.
  if (FOwnerF != nullptr && FStyleB == nullptr) FStyleB = __QV_样式_GetStyleBook(FOwnerF);
}

// --- enabling and painting ------------------------------------------------------

void TQVTitleBar::SetTitleBarEnabled(bool Value) {
  if (Value == FTitleBarEnabled) return;
  FTitleBarEnabled = Value;
  // Without a form only the form's own steps are skipped.
  if (Value) {
    if (FOwnerF != nullptr) FOwnerF->SetTransparency(true);
    if (F_FormBackground != nullptr) {
      F_FormBackground->SetOpacity(FFormOpacity);
      F_FormBackground->SetVisible(true);  // last: its layout may free this bar
    }
  } else {
    // Hiding the background lays the form out, whose handlers may free this bar.
    TDispatchScope scope;
    if (F_FormBackground != nullptr) F_FormBackground->SetVisible(false);
    // A bar freed meanwhile has no form any more.
    if (FOwnerF != nullptr) FOwnerF->SetTransparency(false);
  }
}

void TQVTitleBar::Paint() {
  TPresentedControl::Paint();
  if (FOwnerF == nullptr) return;
  // Showing the background, putting it behind and resizing the bar lay the form out,
  // and the resize handlers that runs (the bar's own or a sibling's) may free the
  // bar or the form. Either way the bar has no form after (and a freed background link
  // reads null): the steps up to the height do nothing then, and the rest is not done.
  TDispatchScope scope;
  if (!BothLoadingFlags()) SetTitleBarEnabled(FOwnerF->Transparency());
  if (IsDesigning()) {
    if (F_FormBackground != nullptr) F_FormBackground->SendToBack();
  } else if (F_FormBackground != nullptr) {
    if (FPaintBackgroundColorCount == 0) F_FormBackground->SendToBack();
    ++FPaintBackgroundColorCount;
  }
  SetHeight(FTBHeight);
  if (FOwnerF == nullptr) return;
  __QV_ColourSystemMenu(true);
  __QV_ReadScreenSize();
  if (!IsDesigning()) __QV_FollowWindowState();
  if (!FTitleBarEnabled) return;
  // While the window system keeps the window maximised its size follows, perhaps a
  // moment later: it is not taken back to normal for being smaller meanwhile.
  if ((FOwnerF->Width() < FScreenXY.X || FOwnerF->Height() < FScreenXY.Y) &&
      FOwnerF->WindowState() != TWindowState::wsMaximized) {
    if (F_TextMax != nullptr) F_TextMax->SetText("1");
    FWindowStateIsMax = false;
    if (!IsDesigning()) {
      // The minimum gives way to the work area: a window never outgrows its monitor's,
      // at any device scale.
      const int minW = FScreenXY.X > 0 ? std::min(800, FScreenXY.X) : 800;
      const int minH = FScreenXY.Y > 0 ? std::min(600, FScreenXY.Y) : 600;
      // One resize; its handlers may free the form or the bar, which then has no form.
      TForm* form = FOwnerF;
      const int w = std::max(form->Width(), minW), h = std::max(form->Height(), minH);
      if (w != form->Width() || h != form->Height()) form->SetBounds(form->Left(), form->Top(), w, h);
      if (FOwnerF == nullptr) return;
    }
  }
  if (FDefaultFormColor) __QV_DoDynamicUpdateTitleBarColor();
}

// --- the other properties -------------------------------------------------------

void TQVTitleBar::SetFormOpacity(float Value) {
  if (Value == FFormOpacity) return;
  FFormOpacity = ClampUnit(Value);
  if (F_FormBackground != nullptr) F_FormBackground->SetOpacity(FFormOpacity);
}

void TQVTitleBar::SetCaptionAlignment(TCaptionAlignment Value) {
  if (Value == FCaptionAlignment) return;
  FCaptionAlignment = Value;
  if (F_Caption == nullptr) return;
  F_Caption->SetVisible(true);
  switch (Value) {
    case TCaptionAlignment::caNone:
      F_Caption->SetVisible(false);
      break;
    case TCaptionAlignment::caLeft:
      // The logo's margin, its fixed width and a small gap.
      F_Caption->Margins()->SetLeft(F_Logo->Margins()->Left() + 24 + 3);
      F_Caption->SetTextAlign(TTextAlign::Leading);
      break;
    case TCaptionAlignment::caCenter:
      F_Caption->Margins()->SetLeft(0);
      F_Caption->SetTextAlign(TTextAlign::Center);
      break;
  }
  F_Caption->SendToBack();
}

void TQVTitleBar::SetCaption(const std::string& Value) {
  FCaption = Value;
  if (F_Caption != nullptr) F_Caption->SetText(Value);
}

void TQVTitleBar::SetBorderActiveColor(TAlphaColor Value) { FBorderActiveColor = Value; }

void TQVTitleBar::SetBorderDeactiveColor(TAlphaColor Value) { FBorderDeactiveColor = Value; }

void TQVTitleBar::SetDefaultFormColor(bool Value) {
  if (Value == FDefaultFormColor) return;
  FDefaultFormColor = Value;
  // Read from a stored form, the colours written beside the flag stand until the bar
  // paints, as they stood when it was written (a hidden bar does not paint).
  if (Value && !IsLoading()) __QV_DoDynamicUpdateTitleBarColor();
}

void TQVTitleBar::SetRadian(float Value) {
  // A bar rounded while enabled and disabled afterwards keeps its radius, so a stored
  // form may hold one after TitleBarEnabled = False: take it, Loaded shapes the corners.
  if (!FTitleBarEnabled && !IsLoading()) return;
  if (Value == FRadian) return;
  if (std::isnan(Value) || Value < 0) Value = 0;
  if (Value > 15) Value = 15;
  FRadian = Value;
  if (!IsLoading()) __QV_ApplyRadian();
}

void TQVTitleBar::__QV_ApplyRadian() {
  if (F_FormBackground != nullptr) {
    F_FormBackground->SetXRadius(FRadian);
    F_FormBackground->SetYRadius(FRadian);
  }
  if (F_BackgroundClose == nullptr) return;
  F_BackgroundClose->SetXRadius(FRadian);
  F_BackgroundClose->SetYRadius(FRadian);
  F_BackgroundClose->SetCorners({TCorner::TopRight});
  F_TitleBarBackgroundColor->SetXRadius(FRadian);
  F_TitleBarBackgroundColor->SetYRadius(FRadian);
  F_TitleBarBackgroundColor->SetCorners({TCorner::TopLeft, TCorner::TopRight});
}

void TQVTitleBar::SetTitleBarHeight(TTitleBarHeight Value) {
  // Each width lays the bar out again, and the handlers of what the application put on
  // the bar may free it: a freed bar keeps its parts to the end of the dispatch, off the
  // form, where their widths and margins change nothing.
  TDispatchScope scope;
  if (Value != FTitleBarHeight) {
    FTitleBarHeight = Value;
    float minW = 0, maxW = 0, closeW = 0;
    switch (Value) {
      case TTitleBarHeight::thSmallHeight:
        FTBHeight = kBaseHeight;
        minW = maxW = kBaseHeight + kBaseHeight / 2;
        closeW = kBaseHeight + kBaseHeight / 2 + 6;
        break;
      case TTitleBarHeight::thMiddleHeight:
        FTBHeight = kBaseHeight + kBaseHeight / 2;
        minW = maxW = closeW = kBaseHeight + kBaseHeight / 2;
        break;
      case TTitleBarHeight::thLargeHeight:
        FTBHeight = kBaseHeight * 2;
        minW = maxW = closeW = kBaseHeight * 2;
        break;
    }
    if (F_ContainerMin != nullptr) {
      F_ContainerMin->SetWidth(minW);
      F_ContainerMax->SetWidth(maxW);
      F_ContainerClose->SetWidth(closeW);
    }
    if (FToolButtonStyle == TToolButtonStyle::tsBitmap) __QV_SetToolButtonMinMaxCloseMargins();
  }
  Repaint();
}

void TQVTitleBar::__QV_SetToolButtonMinMaxCloseMargins() {
  if (F_ToolMin == nullptr) return;
  float side = 16;
  if (FTitleBarHeight == TTitleBarHeight::thMiddleHeight) side = 24;
  if (FTitleBarHeight == TTitleBarHeight::thLargeHeight) side = 32;
  for (TImage* i : {F_ToolMin, F_ToolMax, F_ToolRestore, F_ToolClose}) {
    i->SetWidth(side);
    i->SetHeight(side);
  }
}

void TQVTitleBar::SetLogoBitmap(TBitmap* Value) { FLogoBitmap->Assign(Value); }
void TQVTitleBar::SetToolMinBitmap(TBitmap* Value) { FToolMinBitmap->Assign(Value); }
void TQVTitleBar::SetToolMaxBitmap(TBitmap* Value) { FToolMaxBitmap->Assign(Value); }
void TQVTitleBar::SetToolRestoreBitmap(TBitmap* Value) { FToolRestoreBitmap->Assign(Value); }
void TQVTitleBar::SetToolCloseBitmap(TBitmap* Value) { FToolCloseBitmap->Assign(Value); }

void TQVTitleBar::__QV_OnLogoBitmapChanged(TObject*) {
  if (F_Logo == nullptr) return;
  F_Logo->SetBitmap(FLogoBitmap.get());
  F_Logo->Repaint();
}

// A caption button picture changed: size the images for the height class, then show
// the new picture.
void TQVTitleBar::__QV_ApplyToolBitmap(TImage* Image, TBitmap* Bitmap) {
  __QV_SetToolButtonMinMaxCloseMargins();
  if (Image == nullptr) return;
  Image->SetBitmap(Bitmap);
  Image->Repaint();
}

void TQVTitleBar::__QV_OnToolMinBitmapChanged(TObject*) {
  __QV_ApplyToolBitmap(F_ToolMin, FToolMinBitmap.get());
}

void TQVTitleBar::__QV_OnToolMaxBitmapChanged(TObject*) {
  __QV_ApplyToolBitmap(F_ToolMax, FToolMaxBitmap.get());
}

void TQVTitleBar::__QV_OnToolRestoreBitmapChanged(TObject*) {
  __QV_ApplyToolBitmap(F_ToolRestore, FToolRestoreBitmap.get());
}

void TQVTitleBar::__QV_OnToolCloseBitmapChanged(TObject*) {
  __QV_ApplyToolBitmap(F_ToolClose, FToolCloseBitmap.get());
}

void TQVTitleBar::SetToolButtonStyle(TToolButtonStyle Value) {
  if (Value == FToolButtonStyle) return;
  FToolButtonStyle = Value;
  if (F_ToolMin == nullptr) return;
  if (Value == TToolButtonStyle::tsText) {
    for (TImage* i : {F_ToolMin, F_ToolMax, F_ToolRestore, F_ToolClose}) i->SetVisible(false);
    for (TLabel* l : {F_TextMin, F_TextMax, F_TextClose}) l->SetVisible(true);
    for (TLabel* l : {F_TextMin, F_TextMax, F_TextClose}) l->BringToFront();
    return;
  }
  __QV_SetToolButtonMinMaxCloseMargins();
  F_ToolMin->SetVisible(true);
  if (F_TextMax->Text() == "1") {
    F_ToolMax->SetVisible(true);
    F_ToolRestore->SetVisible(false);
    F_ToolMax->BringToFront();
  } else {
    F_ToolMax->SetVisible(false);
    F_ToolRestore->SetVisible(true);
    F_ToolRestore->BringToFront();
  }
  F_ToolClose->SetVisible(true);
  F_ToolMin->BringToFront();
  F_ToolClose->BringToFront();
  for (TLabel* l : {F_TextMin, F_TextMax, F_TextClose}) l->SetVisible(false);
}

void TQVTitleBar::SetSizeGripVisible(bool Value) {
  if (Value == FSizeGripVisible) return;
  // The refusal is for the application's own assignments. A stored form may hold a
  // strip shown while enabled and kept after disabling; it is taken without a word
  // and shown by Loaded.
  if (IsLoading()) {
    FSizeGripVisible = Value;
    return;
  }
  if (FTitleBarEnabled) {
    FSizeGripVisible = Value;
    if (F_StatusBar != nullptr) F_StatusBar->SetVisible(Value);
  } else {
    ShowMessage(kSizeGripRefused);
  }
}

namespace qvtitlebar {

void Register() { RegisterComponents("QVCtrl", {ClassOf<TQVTitleBar>()}); }

}  // namespace qvtitlebar

}  // namespace fmx
