#pragma once

#include "areas/area_job.h"

#include <QDialog>
#include <QFutureWatcher>

#include <atomic>

class Desktop;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// File > Write Areas for a Shape...: the choices of `marlith3 areas`, a progress bar, Cancel
// and the summary. The job runs off the window's thread; every question goes through the
// desktop, so that tests never block.
class AreasDialog : public QDialog
{
    Q_OBJECT

public:
    AreasDialog(Desktop &desktop, const SourceChoices &start, QWidget *parent = nullptr);
    ~AreasDialog() override;

    bool running() const { return m_job.isRunning(); }

public slots:
    void cmdshapefile_Click();
    void cmdwrite_Click();
    void cmdcancel_Click();

signals:
    void done();

private:
    void finished();

    Desktop &m_desktop;
    QLineEdit *txtshapefile, *txtoutputfolder, *txtshape, *txtareaaltitude, *txtareawidth;
    QComboBox *cboareatype, *cboarealayer, *cboareafill;
    QProgressBar *progress;
    QPlainTextEdit *summary;
    QPushButton *cmdwrite, *cmdcancel;
    std::atomic<bool> m_cancel{false};
    QFutureWatcher<AreasOutcome> m_job;
};
