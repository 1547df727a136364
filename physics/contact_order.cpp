#include "physics/contact_order.h"

#include <algorithm>
#include <array>
#include <functional>
#include <utility>

#include "objects/object.h"

void ContactOrder::OrientFrom(const std::vector<std::uint32_t>& start) {
    // Breadth-first, each node processed once. Processing a node again, as a layer-by-layer walk
    // that keeps duplicates would, finds only links it already turned, so the result is the same.
    std::vector<std::uint32_t>& queue = queue_;
    queue.clear();
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

void ContactOrder::SortByMade() {
    // The ends were listed in slot order, so a stable sort by creation number alone gives the
    // order by (made, slot). Least significant digit first, 11 bits a pass, up to three passes: a
    // crowded step's thousands of ends sort in linear time, where a comparison sort was a fifth of
    // the step.
    std::uint64_t highest = 0;
    for (const End& e : ends_) {
        highest = std::max(highest, e.made);
    }
    constexpr int kBits = 11;
    constexpr std::size_t kBuckets = std::size_t{1} << kBits;
    // A level's few dozen contacts sort faster by comparison than by passes over the buckets.
    if (ends_.size() < kBuckets / 8 || highest >> (3 * kBits) != 0) {
        std::sort(ends_.begin(), ends_.end(), [](const End& x, const End& y) {
            return x.made < y.made || (x.made == y.made && x.slot < y.slot);
        });
        return;
    }
    sorted_.resize(ends_.size());
    for (int shift = 0; shift < 3 * kBits && (highest >> shift) != 0; shift += kBits) {
        std::array<std::uint32_t, kBuckets> start{};
        for (const End& e : ends_) {
            ++start[(e.made >> shift) & (kBuckets - 1)];
        }
        std::uint32_t at = 0;
        for (std::uint32_t& count : start) {
            at += std::exchange(count, at);
        }
        for (const End& e : ends_) {
            sorted_[start[(e.made >> shift) & (kBuckets - 1)]++] = e;
        }
        ends_.swap(sorted_);
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
        ends_.push_back({pairs[k].a->CreationNumber(), 2 * k, pairs[k].a});
        ends_.push_back({pairs[k].b->CreationNumber(), 2 * k + 1, pairs[k].b});
    }
    SortByMade();
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

    std::vector<std::uint32_t>& starts = starts_;
    starts.clear();
    for (std::uint32_t u = 0; u < nodes_.size(); ++u) {
        if (isRoot(nodes_[u])) {
            starts.push_back(u);
        }
    }
    OrientFrom(starts);
    // Clusters that touch no root still hold links in both directions.
    std::vector<std::uint32_t>& loose = loose_;
    loose.clear();
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
    std::vector<std::size_t>& visits = visits_;
    visits.assign(nodes_.size(), 0);
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

    std::vector<std::uint32_t>& work = work_;
    work.assign(starts.begin(), starts.end());
    std::vector<char>& expanded = expanded_;
    expanded.assign(nodes_.size(), 0);
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
