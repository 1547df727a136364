// Every failed VORL_CHECK fails the test it happens in, unless the test said it expected it: a
// broken promise nobody looked at is a fault, even when the safe path hid it.
//
//     testing_support::ExpectedCheckFailures expected;
//     Something.Broken();
//     EXPECT_EQ(expected.Count(), 1);
#pragma once

namespace testing_support {

// Checks that fail while one of these lives are expected by the test.
class ExpectedCheckFailures {
public:
    ExpectedCheckFailures();
    ~ExpectedCheckFailures();
    ExpectedCheckFailures(const ExpectedCheckFailures&) = delete;
    ExpectedCheckFailures& operator=(const ExpectedCheckFailures&) = delete;

    // How many checks have failed since this was made.
    int Count() const;

private:
    int start_;
};

// Puts the listener ahead of GoogleTest's printer, so a test it fails is reported as failed.
void InstallCheckListener();

}  // namespace testing_support
