#pragma once

#include <QtGlobal>

// The results of the MTP object layer: 0, or the error codes of the Windows Portable Devices
// calls the layer mirrors (one backend file turns its library's errors into these).
namespace MtpResult {

constexpr qint32 kOk = 0;
constexpr qint32 kNoDevice = static_cast<qint32>(0x80070006);         // no device open (E_HANDLE)
constexpr qint32 kFailed = static_cast<qint32>(0x80004005);           // E_FAIL
constexpr qint32 kNotFound = static_cast<qint32>(0x80070490);         // the object isn't there
constexpr qint32 kCancelled = static_cast<qint32>(0x800704C7);        // the transfer was cancelled
constexpr qint32 kFull = static_cast<qint32>(0x80070070);             // no space left on the storage
constexpr qint32 kGone = static_cast<qint32>(0x8007048F);             // the device was disconnected
constexpr qint32 kBusy = static_cast<qint32>(0x800700AA);             // another program holds the device
constexpr qint32 kInUse = static_cast<qint32>(0x80070020);            // another Veltrane run holds it
constexpr qint32 kLocked = static_cast<qint32>(0x80070005);           // no storage shown (a locked screen)
constexpr qint32 kSourceUnreadable = static_cast<qint32>(0x8007001E); // the local file can't be read
constexpr qint32 kFolderInTheWay = static_cast<qint32>(0x800700B7);   // a folder has the file's name

} // namespace MtpResult
