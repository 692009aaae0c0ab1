#pragma once

#include <QString>

// What each state says to the user, one table for the window and veltrane-sync, translated in the
// context "SyncState". Empty for a state with nothing of its own to say.
namespace SyncStateTexts {

// The status line ("Copying tracks to the phone").
QString status(int aState);
// The line below it while the state begins ("Please Wait"); usually empty.
QString detail(int aState);

} // namespace SyncStateTexts
