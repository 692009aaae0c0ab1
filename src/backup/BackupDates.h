#pragma once

#include <QString>

// Dates of an iPhone's databases as the phone application takes them: whole seconds since 1970.
namespace BackupDates {

// Seconds from 1970-01-01 to Apple's reference date, 2001-01-01 (UTC).
constexpr qint64 kReferenceDate = 978307200;
// Birthdays are stored at noon of the day: the reference date less twelve hours.
constexpr qint64 kBirthdayReference = 978264000;
// Seconds no date of a phone comes near (about 3,000 years either way): a larger value, or one
// that is no number ("inf", "nan"), is held there rather than cast out of range.
constexpr double kLimitSeconds = 1.0e11;

// aSeconds (any double) plus aReference, without undefined conversions or overflow.
inline qint64 plusReference(double aSeconds, qint64 aReference)
{
    if (!(aSeconds == aSeconds)) // NaN
        aSeconds = 0;
    if (aSeconds > kLimitSeconds)
        aSeconds = kLimitSeconds;
    if (aSeconds < -kLimitSeconds)
        aSeconds = -kLimitSeconds;
    return static_cast<qint64>(aSeconds) + aReference;
}

// Reference-date seconds (possibly fractional, as text) to seconds since 1970; "" stays "".
inline QString fromReferenceSeconds(const QString& aValue)
{
    if (aValue.isNull())
        return QString();
    return QString::number(plusReference(aValue.toDouble(), kReferenceDate));
}

// Newer message databases count nanoseconds since the reference date; a value above 10^12 can't
// be seconds (that is beyond the year 33,000).
inline qint64 fromMessageDate(qint64 aValue)
{
    if (aValue > 1000000000000LL || aValue < -1000000000000LL)
        aValue /= 1000000000LL;
    return plusReference(static_cast<double>(aValue), kReferenceDate);
}

inline QString fromBirthday(const QString& aValue)
{
    return QString::number(plusReference(static_cast<double>(aValue.toFloat()), kBirthdayReference));
}

} // namespace BackupDates
