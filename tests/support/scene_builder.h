// Scene fixtures for physics and gameplay tests: small worlds written as text and read by the
// game's own level reader, so a test reads like a level.
//
//   Floor 800 100 800 20          <- object: name, position x y, scale x y, [rotation degrees]
//     RigidBody2D mass 0.0 state 0  <- indented: one component line, as in a level file
//     BoxCollider2D mHollow false
//
// Each object becomes a level-file block ("Transform2D x y z sx sy radians" first); objects join
// LevelObjects in text order. LoadScene then sends LevelObjectsLoaded, so the physics system
// enables itself and builds its grid in the next frame. A data diagnostic fails the calling test.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class Component;
class Object;

namespace testing_support {

// The level-file text of a scene.
std::string SceneToLevelText(std::string_view text);

// Reads every object of `text` into LevelObjects and returns them in order.
std::vector<Object*> BuildScene(std::string_view text);

// BuildScene and then announce the level as loaded.
std::vector<Object*> LoadScene(std::string_view text);

// The data-file line of one component, as the editor saves it.
std::string ComponentLine(const Component& component);

}  // namespace testing_support
