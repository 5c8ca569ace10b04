#pragma once

#include "toolkit/KZMavericksButtonCell.h"

// A themed button drawn with the open theme whatever its bezel style.
class KZOpenButtonCell : public KZMavericksButtonCell {
    Q_OBJECT
public:
    using KZMavericksButtonCell::KZMavericksButtonCell;

    std::shared_ptr<KZMavericksButtonTheme> buttonTheme() const override;
};
