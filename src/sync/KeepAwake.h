#pragma once

#include <memory>

// Keeps the computer from sleeping while the object lives (a sync run). Does nothing where the
// system offers no way to ask.
class KeepAwake
{
public:
    KeepAwake();
    ~KeepAwake();
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    bool isHeld() const;

private:
    struct Inhibitor;
    std::unique_ptr<Inhibitor> mInhibitor;
};
