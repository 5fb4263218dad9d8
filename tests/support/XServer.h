// A private Xvfb for tests that need a display, started only when none is
// set. Tests that still find no display skip.
#pragma once

#include <sys/types.h>

#include <gtest/gtest.h>

namespace tidewalker::testing {

class PrivateXServer : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

private:
    pid_t pid = 0;
};

}  // namespace tidewalker::testing
