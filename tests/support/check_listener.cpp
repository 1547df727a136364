#include "support/check_listener.h"

#include <gtest/gtest.h>

#include "core/check.h"

namespace testing_support {
namespace {

int startOfTest = 0;
int expectedInTest = 0;

class CheckListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        startOfTest = check::FailureCount();
        expectedInTest = 0;
    }
    void OnTestEnd(const testing::TestInfo&) override {
        const int unexpected = check::FailureCount() - startOfTest - expectedInTest;
        if (unexpected > 0) {
            ADD_FAILURE() << unexpected
                          << " VORL_CHECK failure(s) the test did not expect (see standard error; "
                             "a test that breaks a promise on purpose says so with "
                             "ExpectedCheckFailures)";
        }
    }
};

}  // namespace

ExpectedCheckFailures::ExpectedCheckFailures() : start_(check::FailureCount()) {}

ExpectedCheckFailures::~ExpectedCheckFailures() {
    expectedInTest += Count();
}

int ExpectedCheckFailures::Count() const {
    return check::FailureCount() - start_;
}

void InstallCheckListener() {
    testing::TestEventListeners& listeners = testing::UnitTest::GetInstance()->listeners();
    testing::TestEventListener* printer = listeners.Release(listeners.default_result_printer());
    listeners.Append(new CheckListener);
    if (printer != nullptr) {
        listeners.Append(printer);
    }
}

}  // namespace testing_support
