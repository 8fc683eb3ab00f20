#include <gtest/gtest.h>

#include "drawing/tags/LargeBuffers.h"

namespace kalvex::dxf {
namespace {

// The program starts again with the huge page heap added to the tunables it was given; a
// choice the user made about that heap, either way, is left alone, or the program would start
// itself again and again.
TEST(HugePageHeapTest, TheHeapsTunableIsAddedToThoseGivenUnlessItIsAmongThem) {
    EXPECT_EQ(tunablesWithHugePageHeap(nullptr), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(tunablesWithHugePageHeap(""), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(tunablesWithHugePageHeap("glibc.malloc.arena_max=2"),
              "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1");
    EXPECT_EQ(tunablesWithHugePageHeap("glibc.malloc.hugetlb=0"), std::nullopt);
    EXPECT_EQ(tunablesWithHugePageHeap("glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1"),
              std::nullopt);
}

} // namespace
} // namespace kalvex::dxf
