#include "widgets/form_controls.h"

#include "widgets/point_list.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// A wheel turned over a combo box the user is not working in would change its text unseen,
// for instance while scrolling a list nearby.
class WheelNeedsFocus final : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return false;
        const auto *box = static_cast<QWidget *>(watched);
        const QWidget *focus = QApplication::focusWidget();
        return !(focus && (focus == box || box->isAncestorOf(focus)));
    }
};

} // namespace

namespace form {

void paint(QWidget *w, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, QRect where,
                Qt::Alignment align)
{
    auto *l = place(new QLabel(text, parent), name, where, text.simplified());
    l->setAlignment(align);
    return l;
}

QLabel *readout(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                Qt::Alignment align)
{
    auto *l = place(new QLabel(parent), name, where, accessibleName);
    l->setAlignment(align);
    l->setAutoFillBackground(true);
    paint(l, QPalette::Window, Qt::white);
    return l;
}

// A readout that Calculate fills, which the user may want to copy. The cursor readouts stay
// plain: they change with every move, and a selectable label costs four times the repaint.
QLabel *selectable(QLabel *l)
{
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLineEdit *field(QWidget *parent, const char *name, const QString &text, QRect where,
                 const QString &accessibleName, const QColor &base)
{
    auto *e = place(new QLineEdit(text, parent), name, where, accessibleName);
    e->setAlignment(Qt::AlignCenter);
    paint(e, QPalette::Base, base);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect where,
                    const QColor &colour, const QString &accessibleName)
{
    auto *b = place(new QPushButton(text, parent), name, where,
                    accessibleName.isEmpty() ? text : accessibleName);
    paint(b, QPalette::Button, colour);
    b->setAutoDefault(false);
    return b;
}

QFrame *frame(QWidget *parent, const char *name, QRect where)
{
    auto *f = place(new QFrame(parent), name, where, QString());
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Plain);
    f->lower();
    return f;
}

QComboBox *combo(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                 const QColor &colour)
{
    auto *c = place(new QComboBox(parent), name, where, accessibleName);
    c->setFocusPolicy(Qt::StrongFocus); // not taken by the wheel either
    c->installEventFilter(new WheelNeedsFocus(c));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    // Typed text is taken exactly as typed: no completion may change it.
    c->setCompleter(nullptr);
    c->setMaxVisibleItems(20);
    paint(c, QPalette::Base, colour);
    paint(c, QPalette::Button, colour);
    return c;
}

PointList *pointList(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                     const QColor &colour)
{
    auto *l = place(new PointList(parent), name, where, accessibleName);
    paint(l, QPalette::Base, colour);
    return l;
}

} // namespace form
