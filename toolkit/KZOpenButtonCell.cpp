#include "toolkit/KZOpenButtonCell.h"

#include "toolkit/KZOpenButtonTheme.h"

std::shared_ptr<KZMavericksButtonTheme> KZOpenButtonCell::buttonTheme() const
{
    return KZMavericksButtonTheme::theme<KZOpenButtonTheme>();
}
