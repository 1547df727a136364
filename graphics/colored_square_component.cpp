#include "graphics/colored_square_component.h"

VORL_REGISTER_SAVED_COMPONENT(ColoredSquareComponent) {
    VORL_MEMBERS(meta, redTint, greenTint, blueTint, alphaTint);
}
