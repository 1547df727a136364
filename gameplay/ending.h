// The end-of-game sequence.
//
// EndOfGame (on the player): when the player lands in the "Catapult", control stops and the
// player is forced into the full form; when it leaves the catapult, every star collected in the
// game flies up from the player, one every 0.5 s (the first 0.5 s after the release starts),
// alternately drifting right and left, each a clone of the archetype "StarEnd" carrying a
// FlyingStar. Each release spends one star of StarCount.
// Starfall: when an object named "Movable" touches it, sends StarfallStarted.
// FlyingStar: once started (by EndOfGame or by StarfallStarted) moves its object at "speed" plus a
// triangle-wave wobble of `amplitude`, stepped per frame (a full period is 480 frames), and turns
// its particle emitter on.
#pragma once

#include "core/vector.h"
#include "gameplay/run_state.h"
#include "objects/component_registration.h"

class EndOfGame : public ComponentOf<EndOfGame, GameLogicComponent> {
public:
    static constexpr float kReleaseInterval = 0.5f;
    // A released star is off the top of the screen within this long.
    static constexpr float kRiseSeconds = 1.5f;

    // Every star the player brought has been released and has flown out of sight (at once when
    // there were none).
    bool AllRisen() const { return StarCount == 0 && sinceLastRelease >= kRiseSeconds; }
    // Seconds since then; 0 before.
    float SecondsSinceAllRisen() const {
        return AllRisen() ? sinceLastRelease - kRiseSeconds : 0.0f;
    }

    void Update() override;
    void HandleMessages() override;

    bool active = false;
    bool side = false;

    float releaseTimer = kReleaseInterval;
    float sinceLastRelease = kRiseSeconds;

private:
    void ReleaseStar();
};

class Starfall : public ComponentOf<Starfall, GameLogicComponent> {
public:
    void HandleMessages() override;

    // Kept for the data files; nothing reads it.
    int check = 0;
};

class FlyingStar : public ComponentOf<FlyingStar, GameLogicComponent> {
public:
    // Wobble steps per quarter period.
    static constexpr float kWobbleSteps = 120.0f;

    void Update() override;
    void HandleMessages() override;

    Vector2D speed;
    bool active = false;

    Vector2D velocity;
    Vector2D amplitude;
    Vector2D wobble;
    bool wobbleRisingX = false;
    bool wobbleRisingY = false;
};
