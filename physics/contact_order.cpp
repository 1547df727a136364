#include "physics/contact_order.h"

#include <algorithm>
#include <functional>

#include "objects/object.h"

void ContactOrder::OrientFrom(const std::vector<std::uint32_t>& start) {
    // Breadth-first, each node processed once. Processing a node again, as a layer-by-layer walk
    // that keeps duplicates would, finds only links it already turned, so the result is the same.
    std::vector<std::uint32_t> queue;
    for (std::uint32_t s : start) {
        if (!queued_[s]) {
            queued_[s] = 1;
            queue.push_back(s);
        }
    }
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t u = queue[head];
        processed_.push_back(u);
        for (std::uint32_t v : links_[u]) {
            auto& back = links_[v];
            back.erase(std::remove(back.begin(), back.end(), u), back.end());
            if (!queued_[v]) {
                queued_[v] = 1;
                queue.push_back(v);
            }
        }
    }
}

void ContactOrder::Build(const std::vector<ObjectPair>& pairs,
                         const std::function<bool(Object*)>& isRoot,
                         std::vector<ObjectPair>& walk) {
    walk.clear();
    walkNodes_.clear();
    capped_ = false;
    // Every pair end, sorted by object: the runs are the nodes, in the order the objects were made,
    // and each end learns its node without a search.
    ends_.clear();
    for (std::uint32_t k = 0; k < pairs.size(); ++k) {
        ends_.push_back({pairs[k].a, 2 * k});
        ends_.push_back({pairs[k].b, 2 * k + 1});
    }
    std::sort(ends_.begin(), ends_.end(), [](const End& x, const End& y) {
        const std::uint64_t xMade = x.object->CreationNumber();
        const std::uint64_t yMade = y.object->CreationNumber();
        return xMade < yMade || (xMade == yMade && x.slot < y.slot);
    });
    nodes_.clear();
    nodeOfEnd_.resize(ends_.size());
    for (const End& e : ends_) {
        if (nodes_.empty() || nodes_.back() != e.object) {
            nodes_.push_back(e.object);
        }
        nodeOfEnd_[e.slot] = static_cast<std::uint32_t>(nodes_.size() - 1);
    }
    // Inner lists keep their storage from step to step.
    links_.resize(std::max(links_.size(), nodes_.size()));
    for (std::size_t u = 0; u < nodes_.size(); ++u) {
        links_[u].clear();
    }
    for (std::uint32_t k = 0; k < pairs.size(); ++k) {
        const std::uint32_t a = nodeOfEnd_[2 * k];
        const std::uint32_t b = nodeOfEnd_[2 * k + 1];
        links_[a].push_back(b);
        links_[b].push_back(a);
    }
    processed_.clear();
    queued_.assign(nodes_.size(), 0);

    std::vector<std::uint32_t> starts;
    for (std::uint32_t u = 0; u < nodes_.size(); ++u) {
        if (isRoot(nodes_[u])) {
            starts.push_back(u);
        }
    }
    OrientFrom(starts);
    // Clusters that touch no root still hold links in both directions.
    std::vector<std::uint32_t> loose;
    for (std::uint32_t u = 0; u < nodes_.size(); ++u) {
        const bool mutual = std::any_of(links_[u].begin(), links_[u].end(), [&](std::uint32_t v) {
            const auto& back = links_[v];
            return std::find(back.begin(), back.end(), u) != back.end();
        });
        if (mutual) {
            loose.push_back(u);
        }
    }
    OrientFrom(loose);
    starts.insert(starts.end(), loose.begin(), loose.end());

    // How often each node enters the work list: once per start entry plus once per arrival along
    // a link. Links run forward in processing order, so one pass in that order counts them all.
    std::vector<std::size_t> visits(nodes_.size(), 0);
    for (std::uint32_t s : starts) {
        ++visits[s];
    }
    std::size_t total = 0;
    const std::size_t cap = kMaxWalkPairs + 1;
    for (std::uint32_t u : processed_) {
        for (std::uint32_t v : links_[u]) {
            visits[v] = std::min(cap, visits[v] + visits[u]);
        }
        total = std::min(cap, total + visits[u] * links_[u].size());
    }
    capped_ = total > kMaxWalkPairs;

    std::vector<std::uint32_t> work = starts;
    std::vector<char> expanded(nodes_.size(), 0);
    for (std::size_t head = 0; head < work.size(); ++head) {
        const std::uint32_t u = work[head];
        if (capped_) {
            if (expanded[u]) {
                continue;
            }
            expanded[u] = 1;
        }
        for (std::uint32_t v : links_[u]) {
            work.push_back(v);
            walk.push_back({nodes_[u], nodes_[v]});
            walkNodes_.emplace_back(u, v);
        }
    }
}
