#pragma once

#include <QLabel>

// A one-line label that never cuts its text silently: too wide, the text is elided (in the
// middle unless told otherwise) and its tooltip shows it whole. It asks for no width of its own, so
// a layout may give it whatever is left.
class ElidingLabel final : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    bool isElided() const;
    // The text as it fits the label.
    QString shownText() const;
    // At the end, for a text whose beginning matters most, such as a warning before a path.
    void setElideMode(Qt::TextElideMode mode);
    Qt::TextElideMode elideMode() const { return m_mode; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::TextElideMode m_mode = Qt::ElideMiddle;
};
