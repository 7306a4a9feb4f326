// Constants the title bar's two source files share.
#pragma once

#include <string>

#include "host/Classes.h"

namespace fmx::qvtitlebar {

inline constexpr int kPrivateTag = 999;
inline constexpr float kBaseHeight = 32;
inline constexpr TAlphaColor kTransparent = 0x00000000;
inline constexpr TAlphaColor kBlack = 0xFF000000;
inline constexpr TAlphaColor kWhite = 0xFFFFFFFF;
inline constexpr const char* kSizeGripRefused = "当 TitleBarEnabled = True 时才可设置";

// The caption buttons are told apart by their names, as the shared handlers see them.
inline const std::string& CloseName() {
  static const std::string s = LowerCase("BtnClose");
  return s;
}
inline const std::string& MaxName() {
  static const std::string s = LowerCase("BtnMax");
  return s;
}
inline const std::string& MinName() {
  static const std::string s = LowerCase("BtnMin");
  return s;
}

}  // namespace fmx::qvtitlebar
