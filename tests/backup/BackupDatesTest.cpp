// Dates of a backup's databases that no phone writes (out of range, no number) are held at a
// limit rather than cast out of range or overflowed.
#include "backup/BackupDates.h"

#include <gtest/gtest.h>

TEST(BackupDates, OutOfRangeValuesAreHeldNotOverflowed)
{
    EXPECT_EQ(BackupDates::fromReferenceSeconds("600000000.5"), "1578307200");
    EXPECT_EQ(BackupDates::fromReferenceSeconds(QString()), QString());
    for (const char* huge : {"2e28", "inf", "1e39", "9223372036000000000"})
        EXPECT_EQ(BackupDates::fromReferenceSeconds(huge), QString::number(100000000000LL + 978307200))
            << huge;
    EXPECT_EQ(BackupDates::fromReferenceSeconds("-inf"), QString::number(-100000000000LL + 978307200));
    EXPECT_EQ(BackupDates::fromReferenceSeconds("nan"), "978307200");
    EXPECT_EQ(BackupDates::fromMessageDate(9223372036000000000LL), 9223372036LL + 978307200);
    EXPECT_EQ(BackupDates::fromBirthday("1e39"), QString::number(100000000000LL + 978264000));
}
