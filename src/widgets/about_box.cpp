#include "widgets/about_box.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

AboutBox::AboutBox(QWidget *parent)
    : QWidget(parent, Qt::Window), m_background(QStringLiteral(":/about.png"))
{
    setObjectName(QStringLiteral("frmabout"));
    setWindowTitle(QStringLiteral(" About  Marlith"));
    setFixedSize(320, 240);

    QPalette highlight = palette();
    highlight.setColor(QPalette::WindowText, palette().color(QPalette::Light));

    auto *title = new QLabel(QStringLiteral("Marlith"), this);
    title->setObjectName(QStringLiteral("lblabout"));
    title->setGeometry(0, 24, 320, 48);
    title->setAlignment(Qt::AlignCenter);
    QFont big = title->font();
    big.setPointSize(26);
    big.setBold(true);
    title->setFont(big);

    auto *version = new QLabel(QStringLiteral("Version  3"), this);
    version->setObjectName(QStringLiteral("lblversiion"));
    version->setGeometry(0, 76, 320, 20);
    version->setAlignment(Qt::AlignCenter);

    auto *credit = new QLabel(QStringLiteral("Made for scenery authors by the Marlith team"), this);
    credit->setObjectName(QStringLiteral("lblbyme"));
    credit->setGeometry(10, 204, 230, 28);
    credit->setWordWrap(true);

    for (QLabel *l : {title, version, credit}) {
        l->setPalette(highlight);
        l->setAccessibleName(l->text());
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdok"));
    ok->setGeometry(248, 206, 64, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AboutBox::cmdok_Click);
}

void AboutBox::cmdok_Click()
{
    hide();
}

void AboutBox::keyPressEvent(QKeyEvent *event)
{
    // Escape closes it as it closes any dialog, and like OK it only hides.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        cmdok_Click();
    else
        QWidget::keyPressEvent(event);
}

void AboutBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(0x20, 0x30, 0x28));
    else
        painter.drawPixmap(0, 0, m_background);
}
