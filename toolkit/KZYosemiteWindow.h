#pragma once

#include <QColor>
#include <QFlags>
#include <QLabel>
#include <QPointer>
#include <QWidget>

class QAbstractButton;

// A window whose own content covers all of it, title area included: no system title bar and no
// system title; a label of the window's own (`actualTitleLabel`) carries the title, and the
// window's own standard buttons sit above the content. Dragging the window's background moves it.
//
// The designed content is `actualContentView`, an empty widget at first; a window controller fills
// it from its interface file (ui.setupUi(window->actualContentView())) or replaces it.
class KZYosemiteWindow : public QWidget {
    Q_OBJECT
public:
    enum StandardButton { CloseButton = 0x1, MiniaturizeButton = 0x2, ZoomButton = 0x4, FullScreenButton = 0x8 };
    Q_DECLARE_FLAGS(StandardButtons, StandardButton)

    explicit KZYosemiteWindow(QWidget* parent = nullptr);

    QWidget* actualContentView() const { return m_actualContentView; }
    // Takes ownership of `view` and lays it over the whole window (the previous one is deleted).
    void setActualContentView(QWidget* view);
    QLabel* actualTitleLabel() const { return m_actualTitleLabel; }
    void setActualTitleLabel(QLabel* label);
    // The designed background colour of the content.
    QColor contentBackgroundColor() const;

    // Frameless windows are available, so the content always covers the title area.
    virtual bool supportsFullsizeContentView() const { return true; }
    // The window itself on such systems; the designed content otherwise.
    QWidget* contentView();

    // Sets the window title and, when there is one, the title label's text.
    void setTitle(const QString& title);
    QString title() const { return windowTitle(); }
    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const;

    // Which of the window's own buttons exist (close, minimise and zoom by default).
    StandardButtons standardButtons() const { return m_standardButtons; }
    void setStandardButtons(StandardButtons buttons);
    QAbstractButton* standardWindowButton(StandardButton which) const;

    void configureContentView();
    // Keeps the window buttons above the content.
    void repositionStandardButtons();

protected:
    // Which standard buttons this class may have at all.
    virtual StandardButtons allowedStandardButtons() const;
    virtual void configureYosemite();
    virtual void configureOlder();
    void rebuildStandardButtons();

    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    QPointer<QWidget> m_actualContentView;
    QPointer<QLabel> m_actualTitleLabel;
    StandardButtons m_standardButtons = StandardButtons(CloseButton | MiniaturizeButton | ZoomButton);
    QList<QPointer<QAbstractButton>> m_buttons;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(KZYosemiteWindow::StandardButtons)
