#include "support/test_components.h"

VORL_REGISTER_COMPONENT(EmptyComponent) {}

VORL_REGISTER_SAVED_COMPONENT(TestSign) {
    meta.Member("caption", &TestSign::caption)
        .Member("speed", &TestSign::speed)
        .Member("count", &TestSign::count)
        .Member("lit", &TestSign::lit)
        .Member("offset", &TestSign::offset)
        .UnnamedMember("cache", &TestSign::cache);
}

VORL_REGISTER_COMPONENT(TestCounter) {
    meta.Member("step", &TestCounter::step);
}
