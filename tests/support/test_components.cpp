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
