// The end-of-game sequence.
//
// EndOfGame (on the player): when the player lands in the "Catapult", control stops and the
// player is forced into the full form; when it leaves the catapult, every star collected in the
// game flies up from the player, one every 0.5 s (the first 0.5 s after the release starts),
// alternately drifting right and left, each a clone of the archetype "StarEnd" carrying a
// FlyingStar. Each release spends one star of StarCount. Any key, pad button or click while stars
// are still to come or still rising hurries it: every star left rises at once, fanned out, and the
// game moves on to the tally as soon as they are out of sight.
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
    // The player has been thrown: the stars are being given back (or there were none).
    bool Started() const { return started; }
    // Stars are still to come or still rising, and a press would hurry them.
    bool Hurriable() const { return started && !hurried && !AllRisen(); }

    void Update() override;
    void HandleMessages() override;

    bool active = false;
    bool side = false;

    float releaseTimer = kReleaseInterval;
    float sinceLastRelease = kRiseSeconds;
    bool started = false;
    bool hurried = false;

private:
    // `spread` in -1..1: where the star sits in a fan of stars released together.
    void ReleaseStar(float spread);
    void Hurry();
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
