// Scene fixtures for physics and gameplay tests: small worlds written as text, built the way the
// level loader builds them (components from tokenised lines through the component factory).
//
//   Floor 800 100 800 20          <- object: name, position x y, scale x y, [rotation degrees]
//     RigidBody2D mass 0 state 0  <- indented: one component line, class name then members
//     BoxCollider2D mHollow false
//
// Objects join LevelObjects in text order; BuildScene then sends LevelObjectsLoaded, so the
// physics system enables itself and builds its grid in the next frame.
#pragma once

#include <string_view>
#include <vector>

class Object;

namespace testing_support {

// Builds every object of `text`; a malformed line fails the calling test.
std::vector<Object*> BuildScene(std::string_view text);

// BuildScene and then announce the level as loaded.
std::vector<Object*> LoadScene(std::string_view text);

}  // namespace testing_support
