#include "ui/wizard/LibraryPage.h"

#include "ui/LibraryChooser.h"
#include "ui/SyncUiTexts.h"

#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

LibraryPage::LibraryPage(LibraryChooser& aChooser, QWidget* aParent)
    : QWizardPage(aParent), mChooser(aChooser)
{
    setTitle(tr("Phone Setup"));
    setSubTitle(tr("The iTunes library whose music goes onto the phone."));
    auto* layout = new QVBoxLayout(this);
    mFile = new QLabel;
    mFile->setWordWrap(true);
    mFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(mFile);
    mContent = new QLabel;
    mContent->setWordWrap(true);
    layout->addWidget(mContent);
    mChoose = new QPushButton(tr("C&hoose another library file..."));
    auto* row = new QHBoxLayout;
    row->addWidget(mChoose);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch();
    connect(mChoose, &QPushButton::clicked, this, [this] { mChooser.choose(this); });
    connect(&mChooser, &LibraryChooser::inspected, this, &LibraryPage::show);
    connect(&mChooser, &LibraryChooser::chosen, this, [this](const itunes::LibrarySummary& aSummary) {
        show(true, aSummary, QString());
        emit libraryChanged();
    });
    connect(&mChooser, &LibraryChooser::refused, this, [this](const QString& aPath, const QString& aReason) {
        QMessageBox::warning(this, SyncUiTexts::product(), LibraryChooser::refusal(aPath, aReason));
    });
}

void LibraryPage::initializePage()
{
    mFile->setText(tr("Reading the library..."));
    mContent->clear();
    mChooser.inspectCurrent();
}

void LibraryPage::show(bool aFound, const itunes::LibrarySummary& aSummary, const QString& aReason)
{
    mFound = aFound;
    mFile->setText(aSummary.path.isEmpty()
                       ? tr("No library file is chosen yet.")
                       : tr("Library file: %1").arg(QDir::toNativeSeparators(aSummary.path)));
    mContent->setText(aFound ? tr("The library holds %1 and %2.")
                                   .arg(tr("%n track(s)", nullptr, aSummary.tracks),
                                        tr("%n playlist(s)", nullptr, aSummary.playlists))
                             : tr("It can't be read: %1.").arg(aReason));
    emit completeChanged();
}

bool LibraryPage::isComplete() const
{
    return mFound && !mChooser.isReading();
}
