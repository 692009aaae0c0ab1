#pragma once

#include <QDialog>
#include <QString>

// Announces a software update: the announcement's title and text (HTML; links open in the
// browser) and a "Do not display this message again." box the caller reads after exec.
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    UpdateDialog(QWidget* aParent, const QString& aTitle, const QString& aText);
    bool doNotShowAgain() const { return mDoNotShowAgain; }

private slots:
    void dontShowAgainStateChanged(int aNewState);

private:
    bool mDoNotShowAgain = false;
};
