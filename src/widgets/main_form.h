#pragma once

#include <QWidget>

class ImagePanel;
class PointList;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The controls of the main window at their fixed places in an 825 x 384 client area, under
// the names the rest of the program knows them by, in the order the Tab key visits them.
struct MainForm
{
    QLineEdit *txtlatdeg, *txtlatmin, *txtlongdeg, *txtlongmin, *txtaltitude;
    QLabel *lbllatdd, *lbllongdd;
    QPushButton *cmdcalculate;
    QLabel *lblcellx, *lblcelly, *lblareax, *lblareay;
    QComboBox *cbovtptype, *cbolayer;
    QLineEdit *txtvtplinewidth;
    ImagePanel *Picture1;
    QPushButton *cmdload;
    PointList *lstLWM, *lstVTP;
    QLineEdit *txtlwmnumber, *txtvtpnumber;
    QLabel *lblx, *lbly, *lblvtp2x, *lblvtp2y;
    QPushButton *cmdcreatelwm, *cmdViewLWM, *cmdlwmclearlistitem, *cmdclearlwmlist;
    QPushButton *cmdcreatevtp, *cmdViewVTP, *cmdvtpclearitem, *cmdclearvtplist;
};

// Builds the controls on `client` (825 x 384) and sets their focus order.
MainForm buildMainForm(QWidget *client);
