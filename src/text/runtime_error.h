#pragma once

#include <QString>

// A failure that abandons a handler at the step where it happens. The window catches it
// once, reports it and goes on; whatever the handler did before the failing step stays.
class RuntimeError
{
public:
    enum Number { Overflow = 6, DivisionByZero = 11, TypeMismatch = 13, PathFileAccess = 75 };

    explicit RuntimeError(Number number) : m_number(number) {}

    Number number() const { return m_number; }
    QString description() const;
    // "Run-time error '6':" and the description, as the report shows it.
    QString reportText() const;

    friend bool operator==(const RuntimeError &a, const RuntimeError &b)
    {
        return a.m_number == b.m_number;
    }

private:
    Number m_number;
};
