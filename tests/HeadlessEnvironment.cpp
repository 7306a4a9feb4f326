// The test program starts the application as any program does: with a platform, here
// the headless one, installed before the first test. A test may install another.
#include <gtest/gtest.h>

#include "host/platform/headless/Headless.h"

namespace {

class THeadlessEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { fmx::THeadlessPlatform::Install(); }
};

[[maybe_unused]] ::testing::Environment* const kHeadless =
    ::testing::AddGlobalTestEnvironment(new THeadlessEnvironment);

}  // namespace
