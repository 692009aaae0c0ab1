#pragma once

#include "app/OwnedThread.h"
#include "library/itunes/ITunesTypeLibrary.h"

#include <QObject>
#include <QString>

#include <memory>

class QWidget;

// The choice of the iTunes library file, as a Linux user makes it: a library is always a file
// written on another computer, somewhere. A file dialog filtered to XML starts where such files
// usually are; the file chosen is read on a thread of this object's (a large library takes a
// second) and saved as the setting "itunes-library-path" only when it is a library, which every
// part of the program then reads; a file that is none is refused with its reason, the choice
// made before kept. Also tells what the library in use holds. Lives on the GUI thread.
class LibraryChooser : public QObject
{
    Q_OBJECT

public:
    explicit LibraryChooser(std::shared_ptr<itunes::Backend> aBackend, QObject* aParent = nullptr);
    ~LibraryChooser() override;

    // The file dialog over aParent, then chooseFile with the file picked (nothing when cancelled).
    void choose(QWidget* aParent);
    // Reads aPath; saves it when it is a library (chosen) or refuses it (refused).
    void chooseFile(const QString& aPath);
    // Reads the library in use (inspected).
    void inspectCurrent();
    bool isReading() const;

    // The folder the dialog starts in: where iTunes libraries of other computers usually are.
    static QString startFolder();
    // The library file set in the settings, if any.
    static QString configuredFile();
    // What the user is told when aPath was refused for aReason: that, and which file stays in use.
    static QString refusal(const QString& aPath, const QString& aReason);

signals:
    void chosen(const itunes::LibrarySummary& aSummary);
    void refused(const QString& aPath, const QString& aReason);
    void inspected(bool aFound, const itunes::LibrarySummary& aSummary, const QString& aReason);

private:
    void read(const QString& aPath, bool aChoosing);
    void finished(bool aOk, const itunes::LibrarySummary& aSummary, const QString& aReason, bool aChoosing);

    std::shared_ptr<itunes::Backend> mBackend;
    OwnedThread mThread; // the reading; last: joined before what it uses goes
};
