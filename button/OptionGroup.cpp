// Option-button groups: the sweep that clears the other buttons of a container.
//
// There is no group object: the group is every TarvexButton of the parent form whose `Container`
// names the same container as this button's, found afresh on each sweep.
#include "button/TarvexButton.hpp"

namespace tarvex {

// Visits every control of the form, this button included (its own repaint happens when the sweep
// reaches it). The list is asked for each entry anew and each button is used at once, so a list
// that shrinks or changes while buttons repaint ends the sweep early instead of reaching a control
// that is gone.
void TarvexButton::UpdateOptionGroup() {
    const std::string group = Container();
    const std::size_t count = host_.ControlCount();
    for (std::size_t position = 0; position < count; ++position) {
        const std::optional<FormControl> entry = host_.ControlAt(position);
        if (!entry) break;
        TarvexButton* other = entry->button;
        if (other == nullptr) continue;
        if (other->Container() != group) continue;
        if (other == this) {
            RefreshButton();
        } else if (other->Value() == kTrue) {
            // Command-style buttons are cleared too; their own Value let leaves their look alone.
            other->SetValue(kFalse);
        }
    }
}

}  // namespace tarvex
