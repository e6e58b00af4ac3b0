// A test that runs the calculation: the process-wide calculation state is put
// back as it was after each test, and the lunar calendar's working texts are
// discarded meanwhile.
#pragma once

#include <gtest/gtest.h>

#include "lunar/calculation_state.h"
#include "lunar/working_stream.h"

namespace toravel::testing {

class CalculationStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = SharedCalculationState();
        SetLunarWorkingStream(&DiscardingStream());
    }
    void TearDown() override {
        SharedCalculationState() = saved_;
        SetLunarWorkingStream(nullptr);
    }

private:
    CalculationState saved_;
};

} // namespace toravel::testing
