// The editor's undo and redo: the level as its saved text after every finished edit. Undo hands
// back the text before the last edit, redo the one after; a new edit after an undo drops what
// could have been redone. The text is what a save writes (levels/data_writer.h), so an undone level
// saves byte for byte as it did before the edit. The oldest steps go beyond kMaxSteps.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class LevelHistory {
public:
    static constexpr std::size_t kMaxSteps = 200;

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

private:
    std::string current_;
    std::vector<std::string> undo_;
    std::vector<std::string> redo_;
};
