#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace itunes {
class Backend;
}

// Which of the library's music files are not on this computer, and where most of them are said
// to be: a drive or share of another computer ("Z:/", "//nas/music/"), or the deepest folder
// they share. What the window needs to tell the user which prefix to map. Read through a library
// object of its own: on a worker thread (it looks at every file).
struct MissingFiles
{
    int tracks = 0;      // the tracks with a file of their own
    int missing = 0;     // those whose file is not here
    QString prefix;      // where most of the missing ones are said to be; empty when nowhere shared
    int underPrefix = 0; // how many of the missing ones are there

    // The music of the library on aBackend (its Music playlist), with the user's path mappings;
    // stops early (what was seen so far) when aStop says so.
    static MissingFiles of(std::shared_ptr<itunes::Backend> aBackend,
                           const std::function<bool()>& aStop = {});
};
