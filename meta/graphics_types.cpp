// Registration of the graphics types the meta registry lists: "Texture" with its "name".
#include "graphics/texture.h"
#include "meta/meta_registration.h"

VORL_REGISTER_TYPE(Texture, "Texture") {
    meta.Member("name", &Texture::name);
}
