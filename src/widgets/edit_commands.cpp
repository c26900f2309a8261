#include "widgets/edit_commands.h"

#include "widgets/point_list.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

EditCommands::EditCommands(QWidget *window)
    : QObject(window), m_window(window), m_cut(new QAction(QStringLiteral("Cu&t"), this)),
      m_copy(new QAction(QStringLiteral("&Copy"), this)),
      m_paste(new QAction(QStringLiteral("&Paste"), this)),
      m_copyAll(new QAction(QStringLiteral("Copy &All Entries"), this))
{
    const std::pair<QAction *, QKeySequence::StandardKey> keys[] = {
        {m_cut, QKeySequence::Cut}, {m_copy, QKeySequence::Copy}, {m_paste, QKeySequence::Paste}};
    // A focused field takes these keys itself; on the window they only reach a field that
    // lost its focus to the menu bar.
    for (const auto &[action, key] : keys)
        action->setShortcut(key);
    m_cut->setObjectName(QStringLiteral("mnucut"));
    m_copy->setObjectName(QStringLiteral("mnucopy"));
    m_paste->setObjectName(QStringLiteral("mnupaste"));
    m_copyAll->setObjectName(QStringLiteral("mnucopyall"));
    // A field loses its selection when a key takes the focus to the menu bar: with none, Cut
    // and Copy take the whole text.
    connect(m_cut, &QAction::triggered, this, [this] {
        if (!m_field->hasSelectedText())
            m_field->selectAll();
        m_field->cut();
    });
    connect(m_copy, &QAction::triggered, this, [this] {
        QGuiApplication::clipboard()->setText(m_field->hasSelectedText() ? m_field->selectedText()
                                                                         : m_field->text());
    });
    connect(m_paste, &QAction::triggered, this, [this] { m_field->paste(); });
    connect(m_copyAll, &QAction::triggered, this,
            [this] { emit copyAllRequested(m_list->entries()); });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { follow(now); });
    m_window->addActions({m_cut, m_copy, m_paste});
    update();
}

void EditCommands::addTo(QMenu *menu)
{
    menu->addActions({m_cut, m_copy, m_paste});
    menu->addSeparator();
    menu->addAction(m_copyAll);
    connect(menu, &QMenu::aboutToShow, this, &EditCommands::update);
}

void EditCommands::follow(QWidget *now)
{
    if (!now || qobject_cast<QMenuBar *>(now) || qobject_cast<QMenu *>(now)
        || !m_window->isAncestorOf(now))
        return;
    m_field = qobject_cast<QLineEdit *>(now);
    m_list = qobject_cast<PointList *>(now);
    update();
}

void EditCommands::update()
{
    const bool editable = m_field && !m_field->isReadOnly();
    const bool filled = m_field && !m_field->text().isEmpty();
    m_cut->setEnabled(editable && filled);
    m_copy->setEnabled(filled);
    m_paste->setEnabled(editable);
    m_copyAll->setEnabled(m_list);
}
