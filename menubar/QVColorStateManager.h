#pragma once

// Grades the current reading into colour states: 0 = good, 1 = warning, 2 = low. Callers make a
// new instance for every question.
class QVColorStateManager {
public:
    // The state of the current reading: graded by charge in percentage display ("menuBarDisplay"
    // 0), by the remaining time otherwise.
    long long colorState() const;
    // The state of a fraction 0-1.
    long long colorStateWithValue(double value) const;
};
