#pragma once

#include <QString>

#include <utility>

// A failure that abandons a handler at the step where it happens. The window catches it
// once, reports it and goes on; whatever the handler did before the failing step stays.
class RuntimeError
{
public:
    enum Number { Overflow = 6, DivisionByZero = 11, TypeMismatch = 13, PathFileAccess = 75 };

    explicit RuntimeError(Number number, QString detail = QString())
        : m_number(number), m_detail(std::move(detail))
    {
    }

    Number number() const { return m_number; }
    // What failed and where, in the user's words ("the LWM counter 276 is above 255, the
    // most a file can hold"); empty when the failing step cannot tell. The report leaves it
    // out: its text stays the same for every failure of its number.
    const QString &detail() const { return m_detail; }
    void setDetail(const QString &detail) { m_detail = detail; }
    QString description() const;

    // Where the error is shown. The box keeps one fixed text for each number: "Run-time
    // error '6':", a blank line and the description. The status line says what failed:
    // "Run-time error 6: <detail or description>." The command line prints "Run-time error
    // '6': Overflow" and the detail on a line of its own.
    enum class Shown { Box, StatusLine, CommandLine };
    QString text(Shown where) const;

    friend bool operator==(const RuntimeError &a, const RuntimeError &b)
    {
        return a.m_number == b.m_number;
    }

private:
    Number m_number;
    QString m_detail;
};
