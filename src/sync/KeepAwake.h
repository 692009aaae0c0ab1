#pragma once

#include <functional>
#include <memory>

// Keeps the computer from sleeping while the object lives (held by a sync run's thread). Where
// the system offers no way to ask, an implementation holds nothing.
class KeepAwake
{
public:
    // Makes the hold for one run; chosen once for the program (backends/).
    using Factory = std::function<std::unique_ptr<KeepAwake>()>;

    KeepAwake() = default;
    virtual ~KeepAwake() = default;
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    virtual bool isHeld() const = 0;
};
