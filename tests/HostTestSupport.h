// Shared set-up for tests that need a form on a fresh headless platform.
#pragma once

#include <gtest/gtest.h>

#include "host/Forms.h"
#include "host/platform/headless/Headless.h"

namespace fmx::testing {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { Platform = &THeadlessPlatform::Install(); }
  THeadlessPlatform* Platform = nullptr;
};

// A shown form of the given size whose lifetime ends with the test.
inline std::unique_ptr<TForm> MakeForm(int Width = 400, int Height = 300) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, Width, Height);
  form->Show();
  return form;
}

}  // namespace fmx::testing
