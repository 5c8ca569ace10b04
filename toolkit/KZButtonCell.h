#pragma once

// The state a KZButton keeps about the mouse: whether the pointer is over the button.
class KZButtonCell {
public:
    bool hovered() const { return m_hovered; }
    void setHovered(bool hovered) { m_hovered = hovered; }

private:
    bool m_hovered = false;
};
