#include "app/FolderListing.h"

#include "app/UniqueFd.h"

#include <QFile>
#include <QStringEncoder>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

bool FolderListing::read(int aFolderFd)
{
    // A description of its own, read from its start whatever was read through aFolderFd.
    return read(UniqueFd(::openat(aFolderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
}

bool FolderListing::read(UniqueFd aFolder)
{
    mNames.clear();
    mEntries.clear();
    return aFolder.valid() && readFrom(aFolder.get());
}

bool FolderListing::readFrom(int aFolderFd)
{
    // One buffer per thread for the entries as the system gives them (aligned for dirent64).
    thread_local std::vector<std::uint64_t> buffer(32 * 1024 / sizeof(std::uint64_t));
    char* const bytes = reinterpret_cast<char*>(buffer.data());
    for (;;) {
        const ssize_t got = ::getdents64(aFolderFd, bytes, buffer.size() * sizeof(std::uint64_t));
        if (got < 0) {
            mNames.clear();
            mEntries.clear();
            return false;
        }
        if (got == 0)
            break;
        for (ssize_t offset = 0; offset < got;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(bytes + offset);
            offset += entry->d_reclen;
            bool regular = entry->d_type == DT_REG;
            if (entry->d_type == DT_UNKNOWN) {
                struct stat info;
                regular = ::fstatat(aFolderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                          S_ISREG(info.st_mode);
            }
            if (regular) {
                const auto length = static_cast<qsizetype>(std::strlen(entry->d_name));
                const qsizetype start = mNames.size();
                mEntries.emplace_back(start, length);
                // Grown by doubling, copied in place: an append per name costs more than the name.
                if (start + length > mNames.capacity())
                    mNames.reserve(std::max<qsizetype>(2 * mNames.capacity(), start + length + 512));
                mNames.resize(start + length);
                std::memcpy(mNames.data() + start, entry->d_name, static_cast<std::size_t>(length));
            }
        }
    }
    std::sort(mEntries.begin(), mEntries.end(), [this](const auto& aLeft, const auto& aRight) {
        return QByteArrayView(mNames.constData() + aLeft.first, aLeft.second)
                   .compare(QByteArrayView(mNames.constData() + aRight.first, aRight.second)) < 0;
    });
    return true;
}

QByteArrayView FolderListing::nameAt(std::size_t aEntry) const
{
    return QByteArrayView(mNames.constData() + mEntries[aEntry].first, mEntries[aEntry].second);
}

bool FolderListing::contains(QStringView aName) const
{
    QStringEncoder encoder(QStringConverter::Utf8);
    mEncoded.resize(encoder.requiredSpace(aName.size()));
    mEncoded.resize(encoder.appendToBuffer(mEncoded.data(), aName) - mEncoded.constData());
    const QByteArrayView wanted(mEncoded);
    std::size_t low = 0, high = mEntries.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        const int order = nameAt(middle).compare(wanted);
        if (order == 0)
            return true;
        if (order < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return false;
}

QStringList FolderListing::names() const
{
    QStringList names;
    names.reserve(static_cast<qsizetype>(mEntries.size()));
    for (std::size_t entry = 0; entry < mEntries.size(); ++entry)
        names.append(QFile::decodeName(nameAt(entry).toByteArray()));
    return names;
}
