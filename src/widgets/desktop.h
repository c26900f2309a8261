#pragma once

#include "writers/program_layout.h"

#include "services/imagery_service.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

// Everything the program asks of the desktop: dialogs, launching other programs and where
// the program lives. The window gets one injected, so tests can drive the real window
// with scripted answers and nothing ever blocks.
class Desktop
{
public:
    virtual ~Desktop() = default;

    // A message with an exclamation icon and one OK button.
    virtual void messageBox(QWidget *parent, const QString &text, const QString &title) = 0;
    // A prompt with an empty text field; Cancel gives the empty text.
    virtual QString inputBox(QWidget *parent, const QString &prompt, const QString &title) = 0;
    // The chosen file, or nothing on Cancel. The dialog is titled `title`, or as the
    // platform's open dialog when it is empty; `filter` is a Qt name filter; the dialog opens
    // in `folder`, or where the platform likes when it is empty.
    virtual std::optional<QString> openFileName(QWidget *parent, const QString &title,
                                                const QString &filter, const QString &folder) = 0;
    // The name to save under, or nothing on Cancel. The title is as for openFileName; `filter`
    // is a Qt name filter whose first entry is the active one; `selectedFilter`, when not
    // null, gets the entry the user chose.
    virtual std::optional<QString> saveFileName(QWidget *parent, const QString &title,
                                                const QString &filter, const QString &folder,
                                                QString *selectedFilter) = 0;
    // Unsaved work is about to go: Save, Discard or Cancel (Escape).
    enum class SaveChoice { Save, Discard, Cancel };
    virtual SaveChoice askToSave(QWidget *parent, const QString &text) = 0;
    // A list's entries are about to go under another place: keep them, clear the list (the
    // button says `clearText`), or Cancel (Escape).
    enum class KeepChoice { Keep, Clear, Cancel };
    virtual KeepChoice askKeepOrClear(QWidget *parent, const QString &text,
                                      const QString &clearText) = 0;
    // A folder picked in a dialog that opens at `folder`, or nothing on Cancel.
    virtual std::optional<QString> chooseFolder(QWidget *parent, const QString &folder) = 0;
    // One of `items` picked from a short list, or nothing on Cancel.
    virtual std::optional<int> chooseItem(QWidget *parent, const QString &prompt,
                                          const QStringList &items) = 0;
    // Add Service: the service as the user typed it, or nothing on Cancel.
    virtual std::optional<ImageryService> addService(QWidget *parent) = 0;
    // Edit Services: the list as the user left it, or nothing on Cancel.
    virtual std::optional<QList<ImageryService>>
    editServices(QWidget *parent, const QList<ImageryService> &services) = 0;
    // The shell's "open" action on a document; false when nothing could be started. A
    // launcher that starts and then gives up (no browser answered) calls `failedLater`.
    virtual bool openDocument(const QString &path, const std::function<void()> &failedLater) = 0;
    // Opens a text file in the system's text editor; false when nothing could be started,
    // and `failedLater` as for openDocument.
    virtual bool startTextEditor(const QString &path, const std::function<void()> &failedLater) = 0;
    // Puts the text on the clipboard.
    virtual void copyText(const QString &text) = 0;
    // The folder that holds the program file, without a trailing separator except for a root.
    virtual QString programFolder() const = 0;
    // Whether the program folder holds everything or the program was installed.
    virtual ProgramLayout programLayout() const = 0;
    // The folder Create writes to when the window opens, and keeping the user's pick of it
    // for the next run.
    virtual QString startOutputFolder() const = 0;
    virtual void rememberOutputFolder(const QString &folder) = 0;
};

// Opens a text file the program wrote in the system's text editor; says `missingMessage` when
// there is none yet, and why when no editor starts.
void viewTextFile(Desktop &desktop, QWidget *parent, const QString &path,
                  const QString &missingMessage);

// The real desktop, through Qt.
class QtDesktop final : public Desktop
{
public:
    explicit QtDesktop(ProgramLayout layout) : m_layout(layout) {}

    void messageBox(QWidget *parent, const QString &text, const QString &title) override;
    QString inputBox(QWidget *parent, const QString &prompt, const QString &title) override;
    std::optional<QString> openFileName(QWidget *parent, const QString &title,
                                        const QString &filter, const QString &folder) override;
    std::optional<QString> saveFileName(QWidget *parent, const QString &title,
                                        const QString &filter, const QString &folder,
                                        QString *selectedFilter) override;
    SaveChoice askToSave(QWidget *parent, const QString &text) override;
    KeepChoice askKeepOrClear(QWidget *parent, const QString &text,
                              const QString &clearText) override;
    std::optional<QString> chooseFolder(QWidget *parent, const QString &folder) override;
    std::optional<int> chooseItem(QWidget *parent, const QString &prompt,
                                  const QStringList &items) override;
    std::optional<ImageryService> addService(QWidget *parent) override;
    std::optional<QList<ImageryService>>
    editServices(QWidget *parent, const QList<ImageryService> &services) override;
    bool openDocument(const QString &path, const std::function<void()> &failedLater) override;
    bool startTextEditor(const QString &path, const std::function<void()> &failedLater) override;
    void copyText(const QString &text) override;
    QString programFolder() const override;
    ProgramLayout programLayout() const override { return m_layout; }
    QString startOutputFolder() const override;
    void rememberOutputFolder(const QString &folder) override;

private:
    ProgramLayout m_layout;
};
