#pragma once

#include "toolkit/KZViewController.h"

#include <QColor>
#include <QString>

#include <memory>

class KZView;
class QLabel;
namespace Ui {
class RWMenuItemController;
}

// One custom menu row: a colour swatch, the title and the value.
class RWMenuItemController : public KZViewController {
    Q_OBJECT
    Q_CLASSINFO("KZInterface", "RWMenuItemController")
public:
    explicit RWMenuItemController(const QString& title = QString(), const QString& value = QString(),
                                  const QColor& color = QColor(), QObject* parent = nullptr);
    ~RWMenuItemController() override;

    // The row's title.
    const QString& title() const { return m_title; }
    void setTitle(const QString& title);
    // Not shown.
    const QString& label() const { return m_label; }
    void setLabel(const QString& label) { m_label = label; }
    const QString& value() const { return m_value; }
    void setValue(const QString& value);
    // An invalid colour hides the swatch.
    const QColor& color() const { return m_color; }
    void setColor(const QColor& color);

    KZView* colorIndicator() const;
    QLabel* titleLabel() const;
    QLabel* valueLabel() const;

    // Fills the row from title, value and colour (again whenever one of them changes).
    void awakeFromNib() override;

protected:
    void setupUi(QWidget* view) override;

private:
    void fillRow();

    std::unique_ptr<Ui::RWMenuItemController> ui;
    QString m_title;
    QString m_label;
    QString m_value;
    QColor m_color;
    bool m_uiReady = false;
};
