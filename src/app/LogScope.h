#pragma once

#include "app/DiagnosticLog.h"

#include <type_traits>

// Writes a function's entry line on construction and its exit line when it leaves, so the pair
// can't be forgotten or mismatched. A function with a result returns through ret(), which writes
// the exit line and then the result line, in that order:
//
//     int SyncSettings::load()
//     {
//         LogScope log("SyncSettings::load");
//         ...
//         return log.ret(-5003);
//     }
class LogScope
{
public:
    explicit LogScope(const char* aName) : mName(aName) { logEnter(aName); }
    ~LogScope()
    {
        if (!mLeft)
            logLeave(mName);
    }
    LogScope(const LogScope&) = delete;
    LogScope& operator=(const LogScope&) = delete;

    // Exit line, then "Returns: " with the value as a signed 32-bit integer (booleans as 0 and 1).
    template <typename T> T ret(T aValue)
    {
        static_assert(std::is_integral_v<T> || std::is_enum_v<T>, "results are integers or booleans");
        leave();
        logReturn(static_cast<int>(aValue));
        return aValue;
    }

    // Exit line now, for a function without a result that must log its exit before its last step.
    void leave()
    {
        if (!mLeft) {
            logLeave(mName);
            mLeft = true;
        }
    }

    const char* name() const { return mName; }

private:
    const char* mName;
    bool mLeft = false;
};
