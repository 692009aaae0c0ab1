#include "ui/UiTestSupport.h"

#include "library/itunes/xml/ITunesXmlBackend.h"
#include "support/SimulatedPhone.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

namespace uitest {

namespace {

QObject& pendingAnswers()
{
    static QObject owner;
    return owner;
}

} // namespace

void cancelPendingAnswers()
{
    for (QTimer* timer : pendingAnswers().findChildren<QTimer*>())
        delete timer;
}

void answerNextModal(std::function<void(QWidget*)> aAnswer, int aTimeoutMs)
{
    auto* poll = new QTimer(&pendingAnswers());
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, aAnswer, aTimeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && clock->elapsed() < aTimeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            aAnswer(modal);
    });
    poll->start(20);
}

bool waitFor(const std::function<bool()>& aCondition, int aTimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!aCondition()) {
        if (clock.elapsed() > aTimeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

QString saveScreenshot(QWidget& aWidget, const QString& aName)
{
    const QString folder = QStringLiteral(VELTRANE_SCREENSHOTS);
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + aName + QStringLiteral(".png");
    aWidget.grab().save(path, "PNG");
    return path;
}

Backends backends(const QString& aLibraryFile, std::shared_ptr<FakeDriveProber> aProber)
{
    Backends result;
    auto library = std::make_shared<ITunesXmlBackend>(aLibraryFile);
    result.library = library;
    result.driveProber = std::move(aProber);
    result.phones = std::make_shared<SimulatedPhoneManager>();
    return result;
}

QString textOf(QWidget* aDialog)
{
    if (auto* box = qobject_cast<QMessageBox*>(aDialog))
        return box->text();
    QStringList texts;
    for (QLabel* label : aDialog->findChildren<QLabel*>())
        texts.append(label->text());
    return texts.join(QLatin1Char('\n'));
}

bool clickButton(QWidget* aDialog, const QString& aText)
{
    for (QAbstractButton* button : aDialog->findChildren<QAbstractButton*>()) {
        if (button->text() == aText) {
            button->click();
            return true;
        }
    }
    return false;
}

} // namespace uitest
