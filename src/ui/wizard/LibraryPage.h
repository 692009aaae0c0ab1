#pragma once

#include "library/itunes/ITunesTypeLibrary.h"

#include <QWizardPage>

class LibraryChooser;
class QLabel;
class QPushButton;

// The wizard's page for the iTunes library: which file is used and how many tracks and playlists
// it holds (read on the chooser's thread when the page is shown), and a button to choose another.
// Next needs a library that could be read.
class LibraryPage : public QWizardPage
{
    Q_OBJECT

public:
    explicit LibraryPage(LibraryChooser& aChooser, QWidget* aParent = nullptr);

    void initializePage() override;
    bool isComplete() const override;

    QLabel* fileLabel() const { return mFile; }
    QLabel* contentLabel() const { return mContent; }
    QPushButton* chooseButton() const { return mChoose; }

signals:
    // Another library file was chosen (the pages that list its playlists and podcasts read again).
    void libraryChanged();

private:
    void show(bool aFound, const itunes::LibrarySummary& aSummary, const QString& aReason);

    LibraryChooser& mChooser;
    QLabel* mFile;
    QLabel* mContent;
    QPushButton* mChoose;
    bool mFound = false;
};
