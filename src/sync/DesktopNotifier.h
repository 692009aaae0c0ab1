#pragma once

#include <QString>

// Tells the desktop that something the user waits for has happened (a run has ended) while the
// program's window is not in front: a passing notification. Showing it is the desktop's business;
// with no notification service nothing is shown and nothing waits.
class DesktopNotifier
{
public:
    virtual ~DesktopNotifier() = default;
    // Asks for a notification with aSummary and aBody (plain text) and returns at once, without
    // waiting for the desktop's answer. False when there is nobody to ask.
    virtual bool notify(const QString& aSummary, const QString& aBody) = 0;
};
