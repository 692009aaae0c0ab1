#pragma once

#include "library/itunes/ITunesTypeLibrary.h"
#include "library/itunes/xml/XmlLibrary.h"

#include <memory>

// The iTunes object model over a parsed library XML file: one library source; the "Master"
// playlist as the library playlist, the others as user playlists; tracks with their embedded
// album art; events when the file changes.
std::shared_ptr<itunes::Application> makeXmlApplication(std::shared_ptr<const XmlLibrary> aLibrary,
                                                        const QString& aXmlPath);
