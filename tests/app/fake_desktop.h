#pragma once

#include "widgets/desktop.h"

#include <QStringList>
#include <QTimer>

#include <deque>

// Records every request the window makes of the desktop and answers from a script, so
// that window tests never block on a dialog.
class FakeDesktop final : public Desktop
{
public:
    struct Message
    {
        QString text, title;
    };

    std::vector<Message> messages;
    QStringList prompts;
    std::deque<QString> inputAnswers; // empty when the queue runs dry: Cancel
    std::deque<std::optional<QString>> fileAnswers;
    int fileDialogs = 0;
    QString lastFilter, lastFolder;
    std::deque<std::optional<QString>> saveAnswers;
    QString saveFilterAnswer; // the filter entry the user "chose"; empty: the first one
    QString lastSaveFilter, lastSaveFolder;
    std::deque<SaveChoice> saveChoices; // a dry queue answers Cancel
    QStringList saveQuestions;
    std::deque<KeepChoice> keepChoices; // a dry queue answers Cancel
    QStringList keepQuestions;
    std::deque<std::optional<int>> choiceAnswers;
    QStringList lastChoices;
    std::deque<std::optional<ImageryService>> addServiceAnswers;
    std::deque<std::optional<QList<ImageryService>>> editServicesAnswers;
    QList<ImageryService> lastServices;
    int serviceDialogs = 0;
    QStringList openedDocuments;
    QStringList editedFiles;
    QStringList copiedTexts;
    bool launchSucceeds = true;
    bool launchFailsLater = false; // the launcher starts, then gives up
    QString folder;
    ProgramLayout layout = ProgramLayout::Portable;
    QString startFolder; // empty: the program folder
    std::deque<std::optional<QString>> folderAnswers;
    QString lastFolderStart;
    QStringList rememberedFolders;

    void messageBox(QWidget *, const QString &text, const QString &title) override
    {
        messages.push_back({text, title});
    }
    QString inputBox(QWidget *, const QString &prompt, const QString &title) override
    {
        prompts.push_back(title + QLatin1Char('|') + prompt);
        if (inputAnswers.empty())
            return QString();
        QString answer = inputAnswers.front();
        inputAnswers.pop_front();
        return answer;
    }
    std::optional<QString> openFileName(QWidget *, const QString &, const QString &filter,
                                        const QString &folder) override
    {
        ++fileDialogs;
        lastFilter = filter;
        lastFolder = folder;
        return next(fileAnswers);
    }
    std::optional<QString> saveFileName(QWidget *, const QString &, const QString &filter,
                                        const QString &folder, QString *selectedFilter) override
    {
        lastSaveFilter = filter;
        lastSaveFolder = folder;
        if (selectedFilter)
            *selectedFilter = saveFilterAnswer.isEmpty()
                                  ? filter.section(QStringLiteral(";;"), 0, 0)
                                  : saveFilterAnswer;
        return next(saveAnswers);
    }
    SaveChoice askToSave(QWidget *, const QString &text) override
    {
        saveQuestions << text;
        if (saveChoices.empty())
            return SaveChoice::Cancel;
        const SaveChoice choice = saveChoices.front();
        saveChoices.pop_front();
        return choice;
    }
    KeepChoice askKeepOrClear(QWidget *, const QString &text, const QString &clearText) override
    {
        keepQuestions << text + u'|' + clearText;
        if (keepChoices.empty())
            return KeepChoice::Cancel;
        const KeepChoice choice = keepChoices.front();
        keepChoices.pop_front();
        return choice;
    }
    std::optional<QString> chooseFolder(QWidget *, const QString &start) override
    {
        lastFolderStart = start;
        return next(folderAnswers);
    }
    std::optional<int> chooseItem(QWidget *, const QString &, const QStringList &items) override
    {
        lastChoices = items;
        return next(choiceAnswers);
    }
    std::optional<ImageryService> addService(QWidget *) override
    {
        ++serviceDialogs;
        return next(addServiceAnswers);
    }
    std::optional<QList<ImageryService>> editServices(QWidget *,
                                                      const QList<ImageryService> &list) override
    {
        ++serviceDialogs;
        lastServices = list;
        return next(editServicesAnswers);
    }
    bool openDocument(const QString &path, const std::function<void()> &failedLater) override
    {
        openedDocuments << path;
        if (launchFailsLater)
            QTimer::singleShot(0, failedLater);
        return launchSucceeds;
    }
    bool startTextEditor(const QString &path, const std::function<void()> &failedLater) override
    {
        editedFiles << path;
        if (launchFailsLater)
            QTimer::singleShot(0, failedLater);
        return launchSucceeds;
    }
    void copyText(const QString &text) override { copiedTexts << text; }
    QString programFolder() const override { return folder; }
    ProgramLayout programLayout() const override { return layout; }
    QString startOutputFolder() const override
    {
        return startFolder.isEmpty() ? folder : startFolder;
    }
    void rememberOutputFolder(const QString &picked) override { rememberedFolders << picked; }

private:
    // The next scripted answer; a dry queue answers Cancel.
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>> &answers)
    {
        if (answers.empty())
            return std::nullopt;
        // Swapped out rather than moved: GCC 12 sees a moved optional<QString> as maybe unset.
        std::optional<T> answer;
        answer.swap(answers.front());
        answers.pop_front();
        return answer;
    }
};
