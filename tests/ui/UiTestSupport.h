#pragma once

// What the widget tests share: modal dialogs answered from the event loop (never by blocking),
// waiting for a condition while events run, screenshots under the build folder, and the
// backends of a window on real files.
#include "backends/Backends.h"
#include "support/FakeDriveProber.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace uitest {

// Answers the next modal dialog that opens within aTimeoutMs: aAnswer gets it (and closes it).
void answerNextModal(std::function<void(QWidget*)> aAnswer, int aTimeoutMs = 30000);
// Forgets the answers not yet given (each test ends with this: an answer must not outlive the
// test whose variables it uses).
void cancelPendingAnswers();
// Runs events until aCondition holds or aTimeoutMs pass; whether it held.
bool waitFor(const std::function<bool()>& aCondition, int aTimeoutMs = 30000);
// Saves aWidget as PNG under the build folder's screenshots/ (for looking at).
QString saveScreenshot(QWidget& aWidget, const QString& aName);
// The backends of a window on this library file and these drives, without phones.
Backends backends(const QString& aLibraryFile, std::shared_ptr<FakeDriveProber> aProber);
// The text of a modal message box or dialog, its labels' texts joined.
QString textOf(QWidget* aDialog);
// Clicks the button with this text in aDialog; false when there is none.
bool clickButton(QWidget* aDialog, const QString& aText);

} // namespace uitest
