#include "ui/wizard/IntroPage.h"

#include "ui/SyncUiTexts.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

IntroPage::IntroPage(int aMode, QWidget* aParent) : QWizardPage(aParent)
{
    setTitle(tr("Phone Setup"));
    setPixmap(QWizard::WatermarkPixmap, SyncUiTexts::watermark(devicePixelRatioF()));
    auto* label = new QLabel(textFor(aMode));
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
}

QString IntroPage::textFor(int aMode)
{
    switch (aMode) {
    case 1:
        return tr("A new phone has been detected. This wizard will help you set it up so that it can be "
                  "synchronized.");
    case 3:
        return tr("This wizard will help you set up a phone so that it can be synchronized.");
    default:
        return tr("This wizard will help you change your synchronization settings.");
    }
}
