#pragma once

namespace orvane {

// What the groups controller asks of the bell set above it after the user changed the groups.
// User-interface thread only; called from the groups' handlers, under their guard.
class GroupsListener {
  public:
    // Another recommended distribution was chosen (VariantIndex changed): the set is refreshed
    // as a whole and the player goes back to step 0.
    virtual void VariantStepped() = 0;
    // A bell was dragged into another group (the tree is rebuilt already): the chime lists
    // are refilled and the player goes back to step 0.
    virtual void GroupsRearranged() = 0;

  protected:
    ~GroupsListener() = default;
};

}  // namespace orvane
