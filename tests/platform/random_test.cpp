#include "platform/random.h"

#include <gtest/gtest.h>

// The generator follows the C standard's portable example: seeded with 1 it starts 16838,
// 5758, 10113.
TEST(Random, PortableSequenceFromSeedOne) {
    plat::srand(1);
    EXPECT_EQ(plat::rand(), 16838);
    EXPECT_EQ(plat::rand(), 5758);
    EXPECT_EQ(plat::rand(), 10113);
}

TEST(Random, OutputsStayInRangeAndSeedRepeats) {
    plat::srand(12345);
    int first[100];
    for (int& v : first) {
        v = plat::rand();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, plat::kRandMax);
    }
    plat::srand(12345);
    for (int v : first) EXPECT_EQ(plat::rand(), v);
}
