#pragma once

// The three ways a call into iTunes is made under the retry rule; shared by the sources of
// LocalMusicLibrary.
#include "library/LocalMusicLibrary.h"

template <typename Call> int LocalMusicLibrary::callWithRetry(Call&& aCall)
{
    int retryCounter = 0;
    int result = 0;
    do {
        result = aCall();
    } while (shouldRetry(retryCounter, result));
    return result;
}

template <typename Call, typename Object>
int LocalMusicLibrary::callForObject(Call&& aCall, std::shared_ptr<Object>& aObject)
{
    int retryCounter = 0;
    int result = 0;
    do {
        aObject.reset();
        result = aCall(aObject);
    } while (shouldRetryPointer(retryCounter, result, aObject != nullptr));
    return result;
}

template <typename Call> int LocalMusicLibrary::callForString(Call&& aCall, QString& aString)
{
    int retryCounter = 0;
    int result = 0;
    do {
        aString = QString();
        result = aCall(aString);
    } while (shouldRetryString(retryCounter, result, aString));
    return result;
}
