#include "graphics/colored_square_component.h"

VORL_REGISTER_SAVED_COMPONENT(ColoredSquareComponent) {
    meta.Member("redTint", &ColoredSquareComponent::redTint)
        .Member("greenTint", &ColoredSquareComponent::greenTint)
        .Member("blueTint", &ColoredSquareComponent::blueTint)
        .Member("alphaTint", &ColoredSquareComponent::alphaTint);
}
