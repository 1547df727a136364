// ButtonLatch: one key's or mouse button's state over the input updates. The window writes the live
// state between updates (Set); Advance, once per update, shifts it into the two updates before. A
// press released again before the next update (a quick tap, or any tap during a long frame) stays
// live until that update, so every reader after the pump sees it triggered once and released
// after.
#pragma once

struct ButtonLatch {
    bool live = false;
    bool previous = false;  // live at the last update
    bool older = false;     // live at the update before that
    bool tapped = false;    // released, but kept live until the next update

    // Pressed now and in neither of the two updates before.
    bool Triggered() const { return live && !previous && !older; }
    // Pressed now or at the last update.
    bool Held() const { return live || previous; }
    // Up now, down two updates ago: true on two updates after a release.
    bool Released() const { return !live && older; }

    void Set(bool pressed) {
        tapped = !pressed && live && !previous;
        live = pressed || tapped;
    }
    void Advance() {
        older = previous;
        previous = live;
        if (tapped) {
            live = false;
            tapped = false;
        }
    }
};
