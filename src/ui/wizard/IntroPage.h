#pragma once

#include <QWizardPage>

// The wizard's first page: what the wizard is about, by the mode it was opened in.
class IntroPage : public QWizardPage
{
    Q_OBJECT

public:
    IntroPage(int aMode, QWidget* aParent = nullptr);
    static QString textFor(int aMode);
};
