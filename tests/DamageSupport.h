// Compares the picture the headless platform keeps up to date by repainting only the
// damage with a full repaint of the same form.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "host/Canvas.h"
#include "host/platform/headless/Headless.h"

namespace fmx::testing {

// Paints what is pending, then checks the kept picture pixel for pixel against a
// full paint of the form; Step names the moment in the failure message.
inline void ExpectKeptPictureMatchesFullPaint(THeadlessPlatform* Platform, TForm* Form,
                                              const std::string& Step) {
  Platform->PaintAll();
  const TCanvas* kept = Platform->RetainedCanvas(Form);
  ASSERT_NE(kept, nullptr) << Step;
  TBitmap damaged;
  kept->CopyTo(damaged);
  auto full = Platform->Snapshot(Form);
  ASSERT_EQ(damaged.Width(), full->Width()) << Step;
  ASSERT_EQ(damaged.Height(), full->Height()) << Step;
  int differing = 0, left = full->Width(), top = full->Height(), right = -1, bottom = -1;
  for (int y = 0; y < full->Height(); ++y)
    for (int x = 0; x < full->Width(); ++x)
      if (damaged.Pixel(x, y) != full->Pixel(x, y)) {
        ++differing;
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
  EXPECT_EQ(differing, 0) << Step << ": within " << left << "," << top << " to " << right << ","
                          << bottom;
  if (differing != 0) {
    if (const char* dir = std::getenv("ZZ_TEST_PNG_DIR")) {
      std::string name = Step;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
      damaged.SaveToFile(std::string(dir) + "/" + name + "-kept.png");
      full->SaveToFile(std::string(dir) + "/" + name + "-full.png");
    }
  }
}

}  // namespace fmx::testing
