#include "core/messaging.h"

#include <algorithm>

namespace MessagingSystem {
namespace {

struct Queues {
    Queue write;
    Queue read;
    std::uint64_t frame = 0;
};

Queues& State() {
    static Queues queues;
    return queues;
}

}  // namespace

void Send(std::unique_ptr<Message> message) {
    State().write.push_back(std::move(message));
}

const Queue& GetMessages() {
    return State().read;
}

bool WasSent(MessageType type) {
    const Queue& queue = State().read;
    return std::any_of(queue.begin(), queue.end(),
                       [type](const auto& message) { return message->type == type; });
}

void Update() {
    Queues& q = State();
    std::swap(q.write, q.read);
    q.write.clear();
    ++q.frame;
}

std::uint64_t FrameNumber() {
    return State().frame;
}

void CollectReferences(std::vector<const void*>& out) {
    for (const Queue* queue : {&State().read, &State().write}) {
        for (const auto& message : *queue) {
            message->CollectReferences(out);
        }
    }
}

void Reset() {
    Queues& q = State();
    q.write.clear();
    q.read.clear();
    q.frame = 0;
}

}  // namespace MessagingSystem
