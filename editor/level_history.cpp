#include "editor/level_history.h"

void LevelHistory::Reset(std::string level) {
    current_ = std::move(level);
    undo_.clear();
    redo_.clear();
}

bool LevelHistory::Record(std::string level) {
    if (level == current_) {
        return false;
    }
    undo_.push_back(std::move(current_));
    if (undo_.size() > kMaxSteps) {
        undo_.erase(undo_.begin());
    }
    current_ = std::move(level);
    redo_.clear();
    return true;
}

std::optional<std::string> LevelHistory::Undo() {
    if (undo_.empty()) {
        return std::nullopt;
    }
    redo_.push_back(std::move(current_));
    current_ = std::move(undo_.back());
    undo_.pop_back();
    return current_;
}

std::optional<std::string> LevelHistory::Redo() {
    if (redo_.empty()) {
        return std::nullopt;
    }
    undo_.push_back(std::move(current_));
    current_ = std::move(redo_.back());
    redo_.pop_back();
    return current_;
}
