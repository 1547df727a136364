// The editor's undo and redo: the level as its saved text after every finished edit. Undo hands
// back the text before the last edit, redo the one after; a new edit after an undo drops what
// could have been redone. The text is what a save writes (levels/data_writer.h), so an undone level
// saves byte for byte as it did before the edit.
//
// Only the current text is kept whole. Each step keeps the one stretch of text that differs
// between its two sides (the common start and end cut off), so a move of one object on a level of
// ten thousand costs a few dozen bytes, not a copy of the level. The oldest steps go beyond
// kMaxSteps, or once the steps together hold more than kMaxBytes.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>

class LevelHistory {
public:
    static constexpr std::size_t kMaxSteps = 200;
    static constexpr std::size_t kMaxBytes = std::size_t{64} << 20;

    explicit LevelHistory(std::size_t maxBytes = kMaxBytes) : maxBytes_(maxBytes) {}

    // Starts over from `level` with nothing to undo or redo.
    void Reset(std::string level);
    // Records `level` as the state after an edit; false (nothing recorded) when it equals the
    // current state.
    bool Record(std::string level);
    // The state to return to, or nothing when there is no step to undo / redo.
    std::optional<std::string> Undo();
    std::optional<std::string> Redo();

    const std::string& Current() const { return current_; }
    std::size_t UndoSteps() const { return undo_.size(); }
    std::size_t RedoSteps() const { return redo_.size(); }
    // What the steps hold, the current text left out.
    std::size_t StepBytes() const { return stepBytes_; }

private:
    // At `at`, the text reads `before` on the older side of the step and `after` on the newer.
    struct Step {
        std::size_t at = 0;
        std::string before;
        std::string after;
        std::size_t Bytes() const { return before.size() + after.size(); }
    };

    void DropRedo();
    // Takes the newest step of `from` back across: the current text's `now` side of it becomes
    // its `then` side, and the step goes onto `to`.
    std::optional<std::string> Cross(std::deque<Step>& from, std::deque<Step>& to,
                                     std::string Step::*now, std::string Step::*then);

    std::string current_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    std::size_t stepBytes_ = 0;
    std::size_t maxBytes_;
};
