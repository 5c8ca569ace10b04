#pragma once

#include <optional>

// What the status item asks of its delegate. Both operations are optional: the defaults report
// that they are not implemented.
class WQStatusItemDelegate {
public:
    virtual ~WQStatusItemDelegate() = default;
    // A left click. Returns false when not implemented (the item then shows its menu).
    virtual bool menuIconWasClicked() { return false; }
    // Whether the context menu may open; none when not implemented (then it never opens).
    virtual std::optional<bool> menuShouldShow() { return std::nullopt; }
};
