#include "sync/SyncStateTexts.h"

#include "sync/SyncState.h"

#include <QCoreApplication>

namespace {

struct StateText
{
    int state;
    const char* status;
    const char* detail;
};

const StateText kTexts[] = {
    {SyncState::NoPhone, QT_TRANSLATE_NOOP("SyncState", "Connect your phone to the PC"),
     QT_TRANSLATE_NOOP("SyncState", "If your phone is already connected then click Help")},
    {SyncState::Ready, QT_TRANSLATE_NOOP("SyncState", "A phone is connected and is ready to be synchronized"),
     nullptr},
    {SyncState::Complete, QT_TRANSLATE_NOOP("SyncState", "Phone synchronization is complete"), nullptr},
    // A run that ended early did not complete, whatever else it did.
    {SyncState::Fault, QT_TRANSLATE_NOOP("SyncState", "Phone synchronization did not complete"),
     QT_TRANSLATE_NOOP("SyncState", "The synchronization was stopped by an error.")},
    {SyncState::NotConfigured,
     QT_TRANSLATE_NOOP("SyncState", "This device is not set up for synchronization"), nullptr},
    {SyncState::SettingsUnreadable, QT_TRANSLATE_NOOP("SyncState", "The settings file can't be read"),
     nullptr},
    {SyncState::Cancelled, QT_TRANSLATE_NOOP("SyncState", "Phone synchronization was cancelled"), nullptr},
    {SyncState::ScanningLibrary, QT_TRANSLATE_NOOP("SyncState", "Scanning iTunes Library"),
     QT_TRANSLATE_NOOP("SyncState", "Please Wait")},
    {SyncState::Preparing, QT_TRANSLATE_NOOP("SyncState", "Preparing to synchronize"), nullptr},
    {SyncState::PreparingToDelete, QT_TRANSLATE_NOOP("SyncState", "Preparing to delete tracks"), nullptr},
    {SyncState::AlbumArt, QT_TRANSLATE_NOOP("SyncState", "Checking for album art"), nullptr},
    {SyncState::Deleting, QT_TRANSLATE_NOOP("SyncState", "Deleting tracks from the phone"), nullptr},
    {SyncState::Copying, QT_TRANSLATE_NOOP("SyncState", "Copying tracks to the phone"), nullptr},
    {SyncState::Cancelling, QT_TRANSLATE_NOOP("SyncState", "Cancelling"),
     QT_TRANSLATE_NOOP("SyncState", "Please Wait")},
    {SyncState::Playlists, QT_TRANSLATE_NOOP("SyncState", "Updating playlists"), nullptr},
    {SyncState::Photos, QT_TRANSLATE_NOOP("SyncState", "Copying photos to the phone"), nullptr},
    {SyncState::ConvertingVideo, QT_TRANSLATE_NOOP("SyncState", "Converting video"), nullptr},
};

const StateText* find(int aState)
{
    for (const StateText& text : kTexts) {
        if (text.state == aState)
            return &text;
    }
    return nullptr;
}

QString translated(const char* aText)
{
    return aText ? QCoreApplication::translate("SyncState", aText) : QString();
}

} // namespace

namespace SyncStateTexts {

QString status(int aState)
{
    const StateText* text = find(aState);
    return text ? translated(text->status) : QString();
}

QString detail(int aState)
{
    const StateText* text = find(aState);
    return text ? translated(text->detail) : QString();
}

} // namespace SyncStateTexts
