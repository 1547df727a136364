#include "support/test_components.h"

VORL_REGISTER_COMPONENT(EmptyComponent) {}

VORL_REGISTER_SAVED_COMPONENT(TestSign) {
    VORL_MEMBERS(meta, caption, speed, count, lit, offset).UnnamedMember("cache", &TestSign::cache);
}

VORL_REGISTER_COMPONENT(TestCounter) {
    VORL_MEMBERS(meta, step);
}
