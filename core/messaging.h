// MessagingSystem: the frame-delayed broadcast queue. A message sent during frame N (before or
// after its readers ran) is seen by every reader, in sending order, during the whole of frame N+1,
// and destroyed at the start of frame N+2. Readers never consume messages; each walks the whole
// read queue and reacts to the types it knows. Frames here are simulation steps: a drawn frame
// that runs two steps delivers a message sent in the first to the readers of the second.
//
// Core calls Update() once per step before input and every system. Send() may be called from
// anywhere, at any time, including before the first frame and from inside a reader's loop.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/messages.h"

namespace MessagingSystem {

using Queue = std::vector<std::unique_ptr<Message>>;

void Send(std::unique_ptr<Message> message);

template <class T, class... Args>
void Send(Args&&... args) {
    Send(std::make_unique<T>(std::forward<Args>(args)...));
}

// The messages sent during the previous frame, in sending order.
const Queue& GetMessages();

// How a piece reads the queue (systems file their reactions in a MessageReactions): calls
// `react(payload)` for each message with payload type M, in sending order.
template <class M, class React>
void ForEach(React react) {
    for (const auto& message : GetMessages()) {
        if (const M* payload = As<M>(*message)) {
            react(*payload);
        }
    }
}
// Whether a message of `type` was sent during the previous frame.
bool WasSent(MessageType type);

// Swaps the queues and frees the messages of the frame before last.
void Update();

// How many times Update() has run: the engine's frame number.
std::uint64_t FrameNumber();

// Appends every pointer that a queued message (read or write queue) still carries.
void CollectReferences(std::vector<const void*>& out);

// Frees every queued message and restarts the frame count; for tests and tools that run many
// engines in one process.
void Reset();

}  // namespace MessagingSystem
