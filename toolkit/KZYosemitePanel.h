#pragma once

#include "toolkit/KZYosemiteWindow.h"

// The panel variant: a tool window without a full-screen button. `useContentSize` sizes the panel
// to its content (instead of the content to the panel) where the title area cannot be covered;
// `hidesStandardButtons` is kept for the panel's owner, the panel does not act on it.
class KZYosemitePanel : public KZYosemiteWindow {
    Q_OBJECT
    Q_PROPERTY(bool useContentSize READ useContentSize WRITE setUseContentSize)
    Q_PROPERTY(bool hidesStandardButtons READ hidesStandardButtons WRITE setHidesStandardButtons)
public:
    explicit KZYosemitePanel(QWidget* parent = nullptr);

    bool useContentSize() const { return m_useContentSize; }
    void setUseContentSize(bool use) { m_useContentSize = use; }
    bool hidesStandardButtons() const { return m_hidesStandardButtons; }
    void setHidesStandardButtons(bool hides) { m_hidesStandardButtons = hides; }

protected:
    StandardButtons allowedStandardButtons() const override;
    void configureOlder() override;

private:
    bool m_useContentSize = false;
    bool m_hidesStandardButtons = false;
};
