#include "widgets/desktop.h"
#include "widgets/program_title.h"
#include "widgets/service_dialogs.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

void QtDesktop::messageBox(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box.exec();
}

namespace {

// Every button of a question gets an access key of its own: the platform's texts for OK,
// Cancel, Save and Discard carry none on Windows.
const QString okText = QStringLiteral("&OK");
const QString cancelText = QStringLiteral("&Cancel");

// A prompt with the program's title over a text field or a list, and OK and Cancel.
void answerWithKeys(QInputDialog &dialog)
{
    dialog.setOkButtonText(okText);
    dialog.setCancelButtonText(cancelText);
}

} // namespace

QString QtDesktop::inputBox(QWidget *parent, const QString &prompt, const QString &title)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    answerWithKeys(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

std::optional<QString> QtDesktop::openFileName(QWidget *parent, const QString &title,
                                               const QString &filter, const QString &folder)
{
    // The first filter entry is the active one. A typed name that does not exist is returned
    // as typed; loading it then fails quietly.
    QString selected = filter.section(QStringLiteral(";;"), 0, 0);
    const QString path = QFileDialog::getOpenFileName(parent, title, folder, filter, &selected);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> QtDesktop::saveFileName(QWidget *parent, const QString &title,
                                               const QString &filter, const QString &folder,
                                               QString *selectedFilter)
{
    QString selected = filter.section(QStringLiteral(";;"), 0, 0);
    const QString path = QFileDialog::getSaveFileName(parent, title, folder, filter, &selected);
    if (path.isEmpty())
        return std::nullopt;
    if (selectedFilter)
        *selectedFilter = selected;
    return path;
}

Desktop::SaveChoice QtDesktop::askToSave(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, programTitle(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
    box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
    box.button(QMessageBox::Cancel)->setText(cancelText);
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return SaveChoice::Save;
    case QMessageBox::Discard:
        return SaveChoice::Discard;
    default:
        return SaveChoice::Cancel;
    }
}

Desktop::KeepChoice QtDesktop::askKeepOrClear(QWidget *parent, const QString &text,
                                              const QString &clearText)
{
    QMessageBox box(QMessageBox::Warning, programTitle(), text, QMessageBox::NoButton, parent);
    QPushButton *keep = box.addButton(QStringLiteral("&Keep"), QMessageBox::AcceptRole);
    QPushButton *clear = box.addButton(clearText, QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    cancel->setText(cancelText);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == keep)
        return KeepChoice::Keep;
    if (box.clickedButton() == clear)
        return KeepChoice::Clear;
    return KeepChoice::Cancel;
}

std::optional<QString> QtDesktop::chooseFolder(QWidget *parent, const QString &folder)
{
    const QString picked = QFileDialog::getExistingDirectory(parent, QString(), folder);
    if (picked.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(picked);
}

std::optional<int> QtDesktop::chooseItem(QWidget *parent, const QString &prompt,
                                         const QStringList &items)
{
    QInputDialog dialog(parent);
    dialog.setWindowTitle(programTitle());
    dialog.setLabelText(prompt);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    answerWithKeys(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return int(items.indexOf(dialog.textValue()));
}

std::optional<ImageryService> QtDesktop::addService(QWidget *parent)
{
    ServiceDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.service();
}

std::optional<QList<ImageryService>> QtDesktop::editServices(QWidget *parent,
                                                             const QList<ImageryService> &services)
{
    EditServicesDialog dialog(parent, services);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.services();
}

namespace {

// The desktop's "open" of a local file. Off Windows and macOS, xdg-open is there even when no
// program answers it, and Qt only starts it: its exit status tells.
bool openLocalFile(const QString &path, const std::function<void()> &failedLater)
{
    const QUrl url = QUrl::fromLocalFile(path);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    // No parent: the launcher may wait for the program it started, which must outlive us.
    auto *launcher = new QProcess;
    launcher->setStandardOutputFile(QProcess::nullDevice());
    launcher->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(launcher, &QProcess::finished, launcher,
                     [launcher, failedLater](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failedLater)
                             failedLater();
                         launcher->deleteLater();
                     });
    // Never through a shell: the path goes as a file URL, inert whatever it holds.
    launcher->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
    if (launcher->waitForStarted())
        return true;
    delete launcher;
#else
    Q_UNUSED(failedLater);
#endif
    return QDesktopServices::openUrl(url);
}

} // namespace

bool QtDesktop::openDocument(const QString &path, const std::function<void()> &failedLater)
{
    return openLocalFile(path, failedLater);
}

bool QtDesktop::startTextEditor(const QString &path, const std::function<void()> &failedLater)
{
#ifdef Q_OS_WIN
    // Notepad from the Windows folder. The path goes as one argument, so blanks in the
    // program folder cannot split it.
    const QString windir = qEnvironmentVariable("windir");
    if (!windir.isEmpty()
        && QProcess::startDetached(windir + QStringLiteral("\\notepad.exe"), {path}))
        return true;
#endif
    return openLocalFile(path, failedLater);
}

QString QtDesktop::programFolder() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString QtDesktop::startOutputFolder() const
{
    return ::startOutputFolder(m_layout, programFolder(),
                               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                               rememberedOutputFolder());
}

void QtDesktop::rememberOutputFolder(const QString &folder)
{
    ::rememberOutputFolder(folder);
}

void QtDesktop::copyText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void viewTextFile(Desktop &desktop, QWidget *parent, const QString &path,
                  const QString &missingMessage)
{
    if (!QFileInfo(path).isFile())
        return desktop.messageBox(parent, missingMessage, programTitle());
    const QPointer<QWidget> window(parent);
    const auto cannotStart = [&desktop, window, path] {
        if (window)
            desktop.messageBox(window,
                               QStringLiteral("The text editor could not be started for %1.")
                                   .arg(QDir::toNativeSeparators(path)),
                               programTitle());
    };
    if (!desktop.startTextEditor(path, cannotStart))
        cannotStart();
}
