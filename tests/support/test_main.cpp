#include <gtest/gtest.h>

#include "support/check_listener.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing_support::InstallCheckListener();
    return RUN_ALL_TESTS();
}
