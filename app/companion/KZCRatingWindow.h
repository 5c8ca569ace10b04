#pragma once

#include <QWidget>

class QPushButton;

// The rating prompt: asks the user to rate Voltara and opens the rating page on consent.
class KZCRatingWindow : public QWidget {
    Q_OBJECT
public:
    explicit KZCRatingWindow(QWidget* parent = nullptr);

    QPushButton* rateButton() const { return m_rate; }
    QPushButton* laterButton() const { return m_later; }
    // The page the rate button opens (the VOLTARA_RATING_URL build setting).
    static QString ratingAddress();

signals:
    void rated();

private:
    QPushButton* m_rate = nullptr;
    QPushButton* m_later = nullptr;
};
