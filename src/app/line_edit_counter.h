#pragma once

#include "app/window_colours.h"
#include "lists/list_changes.h"

#include <QLineEdit>

// A counter field of the window: its text, and red text as the warning.
class LineEditCounter final : public CounterField
{
public:
    explicit LineEditCounter(QLineEdit *field) : m_field(field) {}

    CounterState state() const override
    {
        return {m_field->text(), m_field->palette().color(QPalette::Text) == colours::warning};
    }
    void setState(const CounterState &state) override
    {
        m_field->setText(state.text);
        QPalette p = m_field->palette();
        p.setColor(QPalette::Text, state.warning ? colours::warning : colours::normalText);
        m_field->setPalette(p);
    }

private:
    QLineEdit *m_field;
};
