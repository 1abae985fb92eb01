#pragma once
// Which half of the board is shown, and the order in which a switch hides and
// shows the controls of the two halves.

#include <string>
#include <vector>

namespace sirelo {

// The controls of a slot that the switch handles; the stars and score labels
// are children of the poster and follow it.
enum class SlotControl { Poster, Name, Date };

struct HalfSwitchStep {
    bool show = false;  // false: hide
    SlotControl control = SlotControl::Poster;
    int slot = 1;
};

class MovieBoard {
  public:
    // Empty text while slots 1-6 are shown, "第二页" (GBK) while slots 7-12 are.
    const std::string& halfMarker() const { return halfMarker_; }

    // Switches to the other half: flips the marker and returns the steps to
    // apply, every hide before any show, so the halves are never seen together.
    std::vector<HalfSwitchStep> toggleBoardHalf();

  private:
    std::string halfMarker_;
};

}  // namespace sirelo
