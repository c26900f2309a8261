#include "widgets/main_form.h"

#include "widgets/image_panel.h"
#include "widgets/point_list.h"
#include "widgets/window_colours.h"
#include "writers/line_types.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStringListModel>

namespace {

void paint(QWidget *w, QPalette::ColorRole role, const QColor &colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

template <typename W>
W *place(W *w, const char *name, QRect where, const QString &accessibleName)
{
    w->setObjectName(QLatin1String(name));
    w->setGeometry(where);
    w->setAccessibleName(accessibleName);
    return w;
}

QLabel *caption(QWidget *parent, const char *name, const QString &text, QRect where,
                Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *l = place(new QLabel(text, parent), name, where, text.simplified());
    l->setAlignment(align);
    return l;
}

// A label that the program fills; white so that it reads as a value, not a caption.
QLabel *readout(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                Qt::Alignment align = Qt::AlignCenter)
{
    auto *l = place(new QLabel(parent), name, where, accessibleName);
    l->setAlignment(align);
    l->setAutoFillBackground(true);
    paint(l, QPalette::Window, colours::readout);
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
                 const QString &accessibleName, const QColor &base = Qt::white)
{
    auto *e = place(new QLineEdit(text, parent), name, where, accessibleName);
    e->setAlignment(Qt::AlignCenter);
    paint(e, QPalette::Base, base);
    return e;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text, QRect where,
                    const QColor &colour, const QString &accessibleName = QString())
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

QComboBox *combo(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                 const QStringList &items)
{
    auto *c = place(new QComboBox(parent), name, where, accessibleName);
    c->setFocusPolicy(Qt::StrongFocus); // not taken by the wheel either
    c->installEventFilter(new WheelNeedsFocus(c));
    // Editable through a line edit of its own: setEditable() would also build the drop-down
    // at once, the larger part of a combo box's start-up; this way it is built when first
    // opened, and looks and behaves the same.
    // Typed text is taken exactly as typed: no completion may change it. A line edit with a
    // completer of its own keeps the box from building one over its model, and taking it off
    // again (before the items come) deletes it.
    auto *edit = new QLineEdit(c);
    edit->setCompleter(new QCompleter(edit));
    c->setLineEdit(edit);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    // The items are shared with the catalogue: a list model builds no item objects, which for
    // some three hundred items is a good part of the window's start-up.
    c->setModel(new QStringListModel(items, c));
    c->setMaxVisibleItems(20);
    // Both roles in one palette: each change of palette goes down to the line edit and the
    // drop-down again.
    QPalette p = c->palette();
    p.setColor(QPalette::Base, colours::vtp);
    p.setColor(QPalette::Button, colours::vtp);
    c->setPalette(p);
    return c;
}

PointList *pointList(QWidget *parent, const char *name, QRect where, const QString &accessibleName,
                     const QColor &colour)
{
    auto *l = place(new PointList(parent), name, where, accessibleName);
    paint(l, QPalette::Base, colour);
    return l;
}

void buildCoordinateGroup(MainForm &f, QWidget *c)
{
    frame(c, "Shape1", {8, 4, 98, 88});
    caption(c, "lbllatitude", QStringLiteral("Latitude  N-S"), {10, 6, 94, 16}, Qt::AlignCenter);
    caption(c, "lbllatdeg", QStringLiteral("Deg"), {12, 22, 40, 14}, Qt::AlignCenter);
    caption(c, "lbllatmin", QStringLiteral("Min"), {54, 22, 48, 14}, Qt::AlignCenter);
    f.txtlatdeg = field(c, "txtlatdeg", QStringLiteral("-00"), {12, 38, 40, 22},
                        QStringLiteral("Latitude degrees"));
    f.txtlatmin = field(c, "txtlatmin", QStringLiteral("00.00"), {54, 38, 48, 22},
                        QStringLiteral("Latitude minutes"));
    frame(c, "Shape2", {11, 64, 92, 24});
    f.lbllatdd = selectable(
        readout(c, "lbllatdd", {12, 65, 90, 22}, QStringLiteral("Latitude decimal degrees")));

    frame(c, "Shape3", {110, 4, 98, 88});
    caption(c, "lbllongitude", QStringLiteral("Longitude E-W"), {112, 6, 94, 16}, Qt::AlignCenter);
    caption(c, "lbllongdeg", QStringLiteral("Deg"), {114, 22, 40, 14}, Qt::AlignCenter);
    caption(c, "lbllongmin", QStringLiteral("Min"), {156, 22, 48, 14}, Qt::AlignCenter);
    f.txtlongdeg = field(c, "txtlongdeg", QStringLiteral("-000"), {114, 38, 40, 22},
                         QStringLiteral("Longitude degrees"));
    f.txtlongmin = field(c, "txtlongmin", QStringLiteral("00.00"), {156, 38, 48, 22},
                         QStringLiteral("Longitude minutes"));
    frame(c, "Shape4", {113, 64, 92, 24});
    f.lbllongdd = selectable(
        readout(c, "lbllongdd", {114, 65, 90, 22}, QStringLiteral("Longitude decimal degrees")));
    // Fifteen significant digits and a sign must fit the box.
    for (QLabel *dd : {f.lbllatdd, f.lbllongdd}) {
        QFont narrow = dd->font();
        narrow.setPixelSize(9);
        dd->setFont(narrow);
    }

    frame(c, "Shape5", {8, 96, 200, 52});
    caption(c, "lblaltitude", QStringLiteral("Altitude"), {12, 98, 80, 14});
    caption(c, "lblwholenumbers", QStringLiteral("Whole number meters only"), {12, 112, 192, 14});
    f.txtaltitude = field(c, "txtaltitude", QStringLiteral("0"), {12, 126, 192, 20},
                          QStringLiteral("Altitude in metres"), colours::lwm);

    f.cmdcalculate = button(c, "cmdcalculate", QStringLiteral("Calculate"), {8, 152, 200, 26},
                            colours::calculate);
}

void buildVtpSettings(MainForm &f, QWidget *c)
{
    f.cbovtptype = combo(c, "cbovtptype", {8, 182, 200, 22}, QStringLiteral("VTP line type"),
                         lineTypeCatalogue());
    // The start text is none of the items, so no item is current: the first Down picks the
    // first item and the drop-down opens with nothing marked.
    f.cbovtptype->setCurrentIndex(-1);
    f.cbovtptype->setEditText(lineTypeStartText);

    frame(c, "Shape6", {8, 208, 200, 64});
    caption(c, "lblvtplinewidth", QStringLiteral("VTP Width ---> "), {12, 212, 110, 22},
            Qt::AlignRight | Qt::AlignVCenter);
    f.txtvtplinewidth = field(c, "txtvtplinewidth", QStringLiteral("0"), {124, 212, 80, 22},
                              QStringLiteral("VTP line width"), colours::vtp);
    auto *rule = place(new QFrame(c), "Line1", {12, 239, 192, 2}, QString());
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    caption(c, "lbllayerset", QStringLiteral("VTP Layer ---> "), {12, 245, 110, 22},
            Qt::AlignRight | Qt::AlignVCenter);
    f.cbolayer =
        combo(c, "cbolayer", {124, 245, 80, 22}, QStringLiteral("VTP layer"), layerItems());
    // The start text is one of the items: Up and Down step from it.
    f.cbolayer->setCurrentIndex(f.cbolayer->findText(layerStartText));
    f.cbolayer->setEditText(layerStartText);
}

void buildGridReadouts(MainForm &f, QWidget *c)
{
    struct Box
    {
        const char *frameName, *innerFrameName, *captionName, *xyName, *xName, *yName;
        QString title, what;
        int left;
    };
    const Box boxes[] = {
        {"Shape7", "Shape8", "lblcell", "lblcellxy", "lblcellx", "lblcelly",
         QStringLiteral("Cell ( LOD 8 )"), QStringLiteral("cell"), 8},
        {"Shape9", "Shape10", "lblarea", "lblareaxy", "lblareax", "lblareay",
         QStringLiteral("Area ( LOD 13 )"), QStringLiteral("area"), 110},
    };
    QLabel *made[2][2];
    int i = 0;
    for (const Box &b : boxes) {
        frame(c, b.frameName, {b.left, 278, 98, 98});
        auto *title =
            caption(c, b.captionName, b.title, {b.left + 2, 282, 94, 20}, Qt::AlignCenter);
        title->setAutoFillBackground(true);
        paint(title, QPalette::Window, colours::gridCaption);
        frame(c, b.innerFrameName, {b.left + 5, 308, 88, 36});
        for (int j = 0; j < 2; ++j) {
            QLabel *r = selectable(
                readout(c, j == 0 ? b.xName : b.yName, {b.left + 8 + 42 * j, 314, 40, 24},
                        QStringLiteral("%1 %2").arg(b.what, j == 0 ? "column" : "row")));
            paint(r, QPalette::WindowText, colours::gridReadoutText);
            QFont bold = r->font();
            bold.setBold(true);
            r->setFont(bold);
            made[i][j] = r;
        }
        auto *xy = caption(c, b.xyName, QStringLiteral("X       Y"), {b.left + 2, 350, 94, 20},
                           Qt::AlignCenter);
        xy->setAutoFillBackground(true);
        paint(xy, QPalette::Window, colours::gridCaption);
        ++i;
    }
    f.lblcellx = made[0][0];
    f.lblcelly = made[0][1];
    f.lblareax = made[1][0];
    f.lblareay = made[1][1];
}

void buildLwmColumn(MainForm &f, QWidget *c)
{
    // The caption takes two lines: the frame reaches up to give them their full height.
    frame(c, "Shape11", {216, 1, 70, 49});
    auto *count = caption(c, "lblnumlwmpoints", QStringLiteral("Num: LWM Lines/Points"),
                          {218, 2, 66, 27}, Qt::AlignCenter);
    count->setWordWrap(true);
    f.txtlwmnumber = field(c, "txtlwmnumber", QString(), {220, 29, 62, 19},
                           QStringLiteral("LWM point counter"), colours::lwm);

    caption(c, "Label3", QStringLiteral("LWM  X,Y"), {290, 4, 62, 16}, Qt::AlignCenter);
    f.lblx = readout(c, "lblx", {290, 22, 31, 20}, QStringLiteral("LWM pixel X"),
                     Qt::AlignRight | Qt::AlignVCenter);
    f.lbly = readout(c, "lbly", {321, 22, 31, 20}, QStringLiteral("LWM pixel Y"),
                     Qt::AlignLeft | Qt::AlignVCenter);

    f.lstLWM =
        pointList(c, "lstLWM", {216, 52, 136, 250}, QStringLiteral("LWM point list"), colours::lwm);
    f.cmdlwmclearlistitem =
        button(c, "cmdlwmclearlistitem", QStringLiteral("Remove Selected"), {216, 306, 136, 24},
               colours::lwm, QStringLiteral("Remove selected LWM entry"));
    f.cmdclearlwmlist = button(c, "cmdclearlwmlist", QStringLiteral("Clear LWM List"),
                               {216, 334, 136, 24}, colours::lwm);
}

void buildCentre(MainForm &f, QWidget *c)
{
    f.cmdcreatelwm = button(c, "cmdcreatelwm", QStringLiteral("Create LWMSource.asm"),
                            {356, 4, 127, 24}, colours::lwm);
    f.cmdViewLWM = button(c, "cmdViewLWM", QStringLiteral("..."), {484, 4, 16, 24}, colours::lwm,
                          QStringLiteral("View LWMSource.asm"));
    f.cmdViewLWM->setToolTip(QStringLiteral("Open LWMSource.asm in the text editor"));
    f.cmdcreatevtp = button(c, "cmdcreatevtp", QStringLiteral("Create VTPSource.asm"),
                            {502, 4, 127, 24}, colours::vtp);
    f.cmdViewVTP = button(c, "cmdViewVTP", QStringLiteral("..."), {630, 4, 16, 24}, colours::vtp,
                          QStringLiteral("View VTPSource.asm"));
    f.cmdViewVTP->setToolTip(QStringLiteral("Open VTPSource.asm in the text editor"));
    f.cmdload = button(c, "cmdload", QStringLiteral("Load 256x256 Image"), {356, 32, 290, 24},
                       colours::load);

    f.Picture1 =
        place(new ImagePanel(c), "Picture1", {372, 60, 257, 257}, QStringLiteral("Area image"));
    paint(f.Picture1, QPalette::Window, colours::panel);
}

void buildVtpColumn(MainForm &f, QWidget *c)
{
    caption(c, "Label4", QStringLiteral("VTP2  X,Y"), {648, 4, 100, 16}, Qt::AlignCenter);
    f.lblvtp2x = readout(c, "lblvtp2x", {648, 22, 58, 20}, QStringLiteral("VTP grid X and marker"),
                         Qt::AlignRight | Qt::AlignVCenter);
    f.lblvtp2y = readout(c, "lblvtp2y", {706, 22, 42, 20}, QStringLiteral("VTP grid Y"),
                         Qt::AlignLeft | Qt::AlignVCenter);

    frame(c, "Shape12", {750, 1, 67, 49});
    auto *count = caption(c, "lblnumvtppoints", QStringLiteral("Num: VTP2 Lines/Points"),
                          {752, 2, 63, 27}, Qt::AlignCenter);
    count->setWordWrap(true);
    f.txtvtpnumber = field(c, "txtvtpnumber", QString(), {754, 29, 59, 19},
                           QStringLiteral("VTP point counter"), colours::vtp);

    f.lstVTP =
        pointList(c, "lstVTP", {648, 52, 169, 250}, QStringLiteral("VTP point list"), colours::vtp);
    f.cmdvtpclearitem =
        button(c, "cmdvtpclearitem", QStringLiteral("Remove Selected"), {648, 306, 169, 24},
               colours::vtp, QStringLiteral("Remove selected VTP entry"));
    f.cmdclearvtplist = button(c, "cmdclearvtplist", QStringLiteral("Clear VTP List"),
                               {648, 334, 169, 24}, colours::vtp);
}

void setFocusOrder(const MainForm &f)
{
    QWidget *const order[] = {
        f.txtlatdeg,
        f.txtlatmin,
        f.txtlongdeg,
        f.txtlongmin,
        f.txtaltitude,
        f.cmdcalculate,
        f.cbovtptype,
        f.txtvtplinewidth,
        f.cmdload,
        f.cmdcreatelwm,
        f.cmdcreatevtp,
        f.Picture1,
        f.txtlwmnumber,
        f.txtvtpnumber,
        f.lstLWM,
        f.lstVTP,
        f.cmdViewLWM,
        f.cmdViewVTP,
        f.cmdlwmclearlistitem,
        f.cmdvtpclearitem,
        f.cmdclearlwmlist,
        f.cmdclearvtplist,
        f.cbolayer,
    };
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

} // namespace

MainForm buildMainForm(QWidget *client)
{
    MainForm f;
    buildCoordinateGroup(f, client);
    buildVtpSettings(f, client);
    buildGridReadouts(f, client);
    buildLwmColumn(f, client);
    buildCentre(f, client);
    buildVtpColumn(f, client);
    setFocusOrder(f);
    return f;
}
