#include "support/test_components.h"

VORL_REGISTER_COMPONENT(ProbeComponent) {
    meta.Member("level", &ProbeComponent::level);
}

VORL_REGISTER_COMPONENT(LabelComponent) {
    meta.Member("texture", &LabelComponent::texture)
        .Member("hovertexture", &LabelComponent::hovertexture)
        .Member("offset", &LabelComponent::offset)
        .Member("count", &LabelComponent::count)
        .Member("enabled", &LabelComponent::enabled)
        .Member("weight", &LabelComponent::weight);
}

VORL_REGISTER_COMPONENT(EmptyComponent) {}

VORL_REGISTER_COMPONENT(TestSign) {
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
