// MenuMoves: what the keyboard and the first pad ask of a menu drawn by the game itself (a list or
// a grid) in one frame: a step up or down, left or right, the next entry (Tab), to press the
// selection, or to go back. Up / Down are the arrows or W / S, Left / Right the arrows or A / D,
// Return or Space press; on the pad the D-pad moves, A presses, B goes back, and the left stick
// moves once and then again every fifth of a second while held. The mouse is the menu's own.
#pragma once

struct MenuMoves {
    int vertical = 0;    // -1 up, 1 down
    int horizontal = 0;  // -1 left, 1 right
    bool next = false;   // Tab
    bool activate = false;
    bool back = false;

    // Reads this frame's input; `repeatTimer` is the menu's own, advanced by `dt`.
    static MenuMoves Read(double dt, double& repeatTimer);
};
