// Free functions shared by the library's controls and open to applications: finding
// a control's form and style book, reading a font and colours out of the current
// style, measuring text, and repainting a form's background after pop-up menus.
#pragma once

#include <string>

#include "host/Forms.h"
#include "host/Graphics.h"
#include "host/Styles.h"

namespace fmx {

// Repaints the form's first child when it is a rectangle (the window background
// that lies under every menu). A nil form, or one without children, is left alone.
void __QV_窗体_清除窗体上的残影(TForm* AForm);

// The form's StyleBook if set, else the first style book the form owns, else nil.
TStyleBook* __QV_样式_GetStyleBook(TForm* AForm);

// The rectangle a text occupies in the font of ATextSettings (colour, alignment and
// wrapping are ignored; a line is never wrapped). Nil settings measure in the
// default font.
TRectF __QV_文本_获取文本高度和宽度(TTextSettings* ATextSettings, const std::string& AText);
/// The width of the rectangle __QV_文本_获取文本高度和宽度 gives.
Single __QV_文本_获取文本宽度(TTextSettings* ATextSettings, const std::string& AText);
/// The height of the rectangle __QV_文本_获取文本高度和宽度 gives.
Single __QV_文本_获取文本高度(TTextSettings* ATextSettings, const std::string& AText);

// AComponent itself when it is a form (of any form class), else nil.
TForm* __QV_窗体_获取根窗体(TComponent* AComponent);

// The nearest parent (never the object itself) whose class is exactly TForm, or nil.
TForm* __QV_窗体_返回主窗体(TFmxObject* AObject);

// Read from the current style of a style book: the font and colour of the button
// style's text, and the fill colour of the background style. Defaults: nil, opaque
// black, opaque white. The font belongs to the style; do not free it.
TFont* __QV_颜色_获取样式本中的字体(TStyleBook* AStyleBook);
/// The colour of the button style's text (opaque black when there is none).
TAlphaColor __QV_颜色_获取样式本中字体颜色(TStyleBook* AStyleBook);
/// The fill colour of the background style (opaque white when there is none).
TAlphaColor __QV_颜色_获取样式本中窗体背景颜色(TStyleBook* AStyleBook);

}  // namespace fmx
