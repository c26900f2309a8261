#pragma once

#include <QWidget>

class QPushButton;

// The about box: created on its first showing, then only hidden and shown again.
class AboutBox : public QWidget
{
    Q_OBJECT

public:
    explicit AboutBox(QWidget *parent = nullptr);

public slots:
    void cmdok_Click();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QPixmap m_background;
};
