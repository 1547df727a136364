// System: the engine's per-frame services. Core calls Update() once per simulation step (a frame
// of the game, whatever the drawing rate) in a fixed order; every Update() first reads the message
// queue (HandleMessages, through the reactions it filed) and then does its work.
//
// A system that keeps a list of components adds them from RegisterComponent messages and drops a
// component on the first pass that finds its owner cleared; it calls AddSystemReference and
// DropSystemReference so the graveyard knows when the storage may be freed.
#pragma once

#include "core/message_reactions.h"

class System {
public:
    virtual ~System() = default;
    virtual void Update() = 0;
    virtual void Shutdown() {}
    // Runs the reactions the system filed, for this frame's messages. A system with more to do
    // once they have run overrides it and calls this first.
    virtual void HandleMessages() { reactions_.ReactToQueue(); }

protected:
    // Filed when the system is built.
    MessageReactions reactions_;
};
