#pragma once

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>

class PointList;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace form {

// The controls of a form laid out at fixed places: each gets the name the code and the tests
// find it by, its place, the name a screen reader reads, and the colour of its role.
void paint(QWidget *w, QPalette::ColorRole role, const QColor &colour);

template <typename W>
W *place(W *w, const char *name, QRect where, const QString &accessibleName)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(where);
    w->setAccessibleName(accessibleName);
    return w;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, QRect where,
                Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
// A label that the program fills; white so that it reads as a value, not a caption.
QLabel *readout(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                Qt::Alignment align = Qt::AlignCenter);
// A readout whose text the user may want to copy.
QLabel *selectable(QLabel *l);
QLineEdit *field(QWidget *parent, const char *name, const QString &text, QRect where,
                 const QString &accessibleName, const QColor &base = Qt::white);
QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect where,
                    const QColor &colour, const QString &accessibleName = QString());
QFrame *frame(QWidget *parent, const char *name, QRect where);
// Editable, taking typed text exactly as typed, and turned by the wheel only with the focus.
QComboBox *combo(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                 const QColor &colour);
PointList *pointList(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                     const QColor &colour);

} // namespace form
