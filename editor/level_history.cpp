#include "editor/level_history.h"

#include <algorithm>

void LevelHistory::Reset(std::string level) {
    current_ = std::move(level);
    undo_.clear();
    redo_.clear();
    stepBytes_ = 0;
}

bool LevelHistory::Record(std::string level) {
    if (level == current_) {
        return false;
    }
    const std::size_t shorter = std::min(level.size(), current_.size());
    const auto start = static_cast<std::size_t>(
        std::mismatch(current_.begin(), current_.begin() + static_cast<std::ptrdiff_t>(shorter),
                      level.begin())
            .first -
        current_.begin());
    std::size_t end = 0;
    while (end < shorter - start &&
           current_[current_.size() - 1 - end] == level[level.size() - 1 - end]) {
        ++end;
    }
    Step step{start, current_.substr(start, current_.size() - start - end),
              level.substr(start, level.size() - start - end)};
    DropRedo();
    stepBytes_ += step.Bytes();
    undo_.push_back(std::move(step));
    while (!undo_.empty() && (undo_.size() > kMaxSteps || stepBytes_ > maxBytes_)) {
        stepBytes_ -= undo_.front().Bytes();
        undo_.pop_front();
    }
    current_ = std::move(level);
    return true;
}

std::optional<std::string> LevelHistory::Undo() {
    return Cross(undo_, redo_, &Step::after, &Step::before);
}

std::optional<std::string> LevelHistory::Redo() {
    return Cross(redo_, undo_, &Step::before, &Step::after);
}

std::optional<std::string> LevelHistory::Cross(std::deque<Step>& from, std::deque<Step>& to,
                                               std::string Step::*now, std::string Step::*then) {
    if (from.empty()) {
        return std::nullopt;
    }
    Step step = std::move(from.back());
    from.pop_back();
    current_.replace(step.at, (step.*now).size(), step.*then);
    to.push_back(std::move(step));
    return current_;
}

void LevelHistory::DropRedo() {
    for (const Step& step : redo_) {
        stepBytes_ -= step.Bytes();
    }
    redo_.clear();
}
