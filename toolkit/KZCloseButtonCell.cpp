#include "toolkit/KZCloseButtonCell.h"

#include "toolkit/KZCloseButtonTheme.h"

std::shared_ptr<KZMavericksButtonTheme> KZCloseButtonCell::buttonTheme() const
{
    return KZMavericksButtonTheme::theme<KZCloseButtonTheme>();
}
