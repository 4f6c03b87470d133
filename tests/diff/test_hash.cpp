#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "diff/hash.h"
#include "diff/hash_private.h"
#include "tests/support.h"

namespace {

// Allocation failures on demand: calls numbered from 1 after arming; the
// calls listed in failing return nullptr, or every call when failAll is set.
struct FailingAllocator {
    static inline int calls = 0;
    static inline std::vector<int> failing;
    static inline bool failAll = false;
    static void *allocate(std::size_t bytes)
    {
        calls++;
        if (failAll)
            return nullptr;
        for (int n : failing) {
            if (n == calls)
                return nullptr;
        }
        return std::malloc(bytes);
    }
    static void arm(std::vector<int> which, bool all = false)
    {
        calls = 0;
        failing = std::move(which);
        failAll = all;
        hashAllocator = allocate;
    }
    static void disarm() { hashAllocator = std::malloc; }
};

class DiffHashTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        hash = hashCreate();
        ASSERT_NE(hash, nullptr);
    }
    void TearDown() override
    {
        FailingAllocator::disarm();
        if (hash != nullptr) {
            EXPECT_EQ(hashDestroy(hash), 1);
        }
    }
    Hash *hash = nullptr;
};

struct Visit {
    std::string key;
    int order;
    int count;
};
std::vector<Visit> visits;
int stopAt = -1;       // the call (from 1) that returns stopValue
int stopValue = 1;

int recordVisit(const char *key, int order, int count)
{
    visits.push_back({key, order, count});
    return static_cast<int>(visits.size()) == stopAt ? stopValue : 1;
}

std::vector<Visit> visitAll(Hash *hash, int stopCall, int value, int *result)
{
    visits.clear();
    stopAt = stopCall;
    stopValue = value;
    *result = hashForEach(hash, recordVisit);
    return visits;
}

std::string keyOf(int i) { return "key" + std::to_string(i); }

}  // namespace

TEST(DiffHashString, KnownValues)
{
    EXPECT_EQ(hashString(""), 0u);
    EXPECT_EQ(hashString("abc"), 26499u);
    EXPECT_EQ(hashString("abcdefgh"), 10139232u);
}

TEST(DiffHashString, BytesAbove127CountAsNegative)
{
    // 0x80 is -128: 0xFFFFFF80, whose bits 24-27 are folded into the low
    // bits and cleared, while bits 28-31 stay.
    EXPECT_EQ(hashString("\x80"), 0xF0FFFF8Fu);
    EXPECT_EQ(hashString("\xff"), 0xF0FFFFF0u);
    // After "a" (97 << 4 = 1552), the byte 0xFF subtracts one.
    EXPECT_EQ(hashString("a\xff"), 1551u);
}

TEST_F(DiffHashTest, NewTableIsEmpty)
{
    int count = 99, order = 99;
    EXPECT_EQ(hashLookup(hash, "anything", &count, &order), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(order, -1);
    EXPECT_EQ(hash->size, 7);
    EXPECT_EQ(hash->used, 0);
    int result = 0;
    EXPECT_TRUE(visitAll(hash, -1, 1, &result).empty());
    EXPECT_EQ(result, 1);
}

TEST_F(DiffHashTest, NumbersKeysInOrderOfFirstEntry)
{
    int order = -5;
    EXPECT_EQ(hashInsert(hash, "a", &order), 1);
    EXPECT_EQ(order, 0);
    EXPECT_EQ(hashInsert(hash, "b", &order), 1);
    EXPECT_EQ(order, 1);
    EXPECT_EQ(hashInsert(hash, "a", &order), 2);
    EXPECT_EQ(order, 0);
    EXPECT_EQ(hashInsert(hash, "a", nullptr), 2);

    int count = 0;
    EXPECT_EQ(hashLookup(hash, "a", &count, &order), 1);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(order, 0);
    EXPECT_EQ(hashLookup(hash, "b", &count, nullptr), 1);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(hash->used, 2);
}

TEST_F(DiffHashTest, KeysAreComparedByteForByte)
{
    int order = -1;
    EXPECT_EQ(hashInsert(hash, "A", &order), 1);
    EXPECT_EQ(hashInsert(hash, "a", &order), 1);
    EXPECT_EQ(order, 1);
    EXPECT_EQ(hashInsert(hash, "", &order), 1);
    EXPECT_EQ(order, 2);
    EXPECT_EQ(hashInsert(hash, "", &order), 2);
    EXPECT_EQ(order, 2);
    int count = 0;
    EXPECT_EQ(hashLookup(hash, "", &count, &order), 1);
    EXPECT_EQ(count, 2);
}

TEST_F(DiffHashTest, KeysAreCopied)
{
    char key[] = "mutable";
    EXPECT_EQ(hashInsert(hash, key, nullptr), 1);
    key[0] = 'X';
    int count = 0;
    EXPECT_EQ(hashLookup(hash, "mutable", &count, nullptr), 1);
    EXPECT_EQ(count, 1);
}

TEST_F(DiffHashTest, NullKeyDoesNothing)
{
    int order = 42, count = 42;
    const std::string out = captureStdout([&] {
        EXPECT_EQ(hashInsert(hash, nullptr, &order), 0);
        EXPECT_EQ(hashLookup(hash, nullptr, &count, &order), 0);
    });
    EXPECT_EQ(out, "");
    EXPECT_EQ(order, 42);
    EXPECT_EQ(count, 42);
    EXPECT_EQ(hash->used, 0);
}

TEST_F(DiffHashTest, GrowsAtTheSeventhKeyKeepingNumbers)
{
    for (int i = 0; i < 6; i++)
        ASSERT_EQ(hashInsert(hash, keyOf(i).c_str(), nullptr), 1);
    EXPECT_EQ(hash->size, 7);
    int order = -1;
    EXPECT_EQ(hashInsert(hash, keyOf(6).c_str(), &order), 1);
    EXPECT_EQ(order, 6);
    EXPECT_EQ(hash->size, 13);
    EXPECT_EQ(hash->sizeIndex, 1);

    int result = 0;
    const std::vector<Visit> seen = visitAll(hash, -1, 1, &result);
    EXPECT_EQ(result, 1);
    ASSERT_EQ(seen.size(), 7u);
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(seen[i].key, keyOf(i));
        EXPECT_EQ(seen[i].order, i);
        EXPECT_EQ(seen[i].count, 1);
        EXPECT_EQ(hash->table[hash->index[i]].order, i);
    }
    for (int i = 7; i < hash->size; i++)
        EXPECT_EQ(hash->index[i], -1);
}

TEST_F(DiffHashTest, SlotsFollowTheHomeAndStepOfEverySize)
{
    // One-character keys hash to their character code h. In a table of n
    // slots a key's home is h % n and its step home % (n - 1) + 1; a taken
    // slot sends it one step further. The table grows at the 7th key (13
    // slots) and at the 11th (31 slots); each growth moves the keys anew in
    // the order of their numbers.
    const char *const keys[] = {"A", "`", "\"", "b", "$", "c", "d",
                                "e", "f", "g", "h", "i", "=", "\\"};
    const int n = 14;
    // Slot of each key by number, after the 6th, 10th and 14th key.
    const std::vector<int> at7 = {2, 5, 6, 0, 1, 3};  // c (99): home 1 taken by $, 1 + 2 = 3
    // At 13 slots: e (101): home 10 taken by $ (36 % 13 = 10), step 11:
    // 10 + 11 - 13 = 8, taken by " (34 % 13 = 8), 8 + 11 - 13 = 6.
    const std::vector<int> at13 = {0, 5, 8, 7, 10, 4, 9, 6, 11, 12};
    // At 31 slots: A, ` and " share home 3 (step 4): 3, 7, 11. $ (36) and b
    // (98) share home 5 (step 6): b takes 5, $ goes on over 11 to 17. d (100)
    // finds 7 taken by `: 7 + 8 = 15. h (104) finds 11 taken by ": 11 + 12 = 23.
    // = (61) and \ (92) share the last home, 30, whose step is 1: 30, then 0.
    const std::vector<int> at31 = {3, 7, 11, 5, 17, 6, 15, 8, 9, 10, 23, 12, 30, 0};
    auto slots = [this] { return std::vector<int>(hash->index, hash->index + hash->used); };
    for (int i = 0; i < n; i++) {
        int order = -1;
        ASSERT_EQ(hashInsert(hash, keys[i], &order), 1) << keys[i];
        EXPECT_EQ(order, i);
        if (i == 5) {
            EXPECT_EQ(hash->size, 7);
            EXPECT_EQ(slots(), at7);
        } else if (i == 9) {
            EXPECT_EQ(hash->size, 13);
            EXPECT_EQ(slots(), at13);
        }
    }
    EXPECT_EQ(hash->size, 31);
    EXPECT_EQ(slots(), at31);
    for (int i = 0; i < n; i++) {
        EXPECT_STREQ(hash->table[at31[i]].key, keys[i]);
        EXPECT_EQ(hash->table[at31[i]].order, i);
    }
    // Every key is found again along its probe path, and the keys are
    // visited in the order of their numbers, not of their slots.
    ASSERT_EQ(hashInsert(hash, "$", nullptr), 2);
    int count = 0, order = -1;
    EXPECT_EQ(hashLookup(hash, "$", &count, &order), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(order, 4);
    int result = 0;
    const std::vector<Visit> seen = visitAll(hash, -1, 1, &result);
    ASSERT_EQ(seen.size(), static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        EXPECT_EQ(seen[i].key, keys[i]);
        EXPECT_EQ(seen[i].order, i);
        EXPECT_EQ(seen[i].count, i == 4 ? 2 : 1);
    }
}

TEST_F(DiffHashTest, RepeatedKeyAlsoGrowsTheTable)
{
    for (int i = 0; i < 6; i++)
        ASSERT_EQ(hashInsert(hash, keyOf(i).c_str(), nullptr), 1);
    int order = -1;
    EXPECT_EQ(hashInsert(hash, keyOf(3).c_str(), &order), 2);
    EXPECT_EQ(order, 3);
    EXPECT_EQ(hash->size, 13);
    int count = 0;
    EXPECT_EQ(hashLookup(hash, keyOf(3).c_str(), &count, &order), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(order, 3);
}

TEST_F(DiffHashTest, GrowsAtThreeQuartersOfEverySize)
{
    // Each growth comes at the insertion that finds the least used with
    // used * 4 >= size * 3 keys stored (6 for 7 slots, 10 for 13, 24 for 31 ...).
    const int keys = 200000;
    int growths = 0;
    for (int i = 0; i < keys; i++) {
        const int before = hash->size;
        const int used = hash->used;
        ASSERT_EQ(hashInsert(hash, keyOf(i).c_str(), nullptr), 1);
        if (hash->size != before) {
            EXPECT_EQ(used, (before * 3 + 3) / 4) << "size " << before;
            EXPECT_EQ(hash->size, hashPrimes[growths + 1]);
            growths++;
        }
    }
    EXPECT_EQ(growths, 16);  // 7 ... 524269 slots
    int count = 0, order = 0;
    for (int i = 0; i < keys; i += 997) {
        ASSERT_EQ(hashLookup(hash, keyOf(i).c_str(), &count, &order), 1);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(order, i);
    }
}

TEST_F(DiffHashTest, ForEachStopsAtTheFirstResultOtherThanOne)
{
    for (int i = 0; i < 5; i++)
        hashInsert(hash, keyOf(i).c_str(), nullptr);
    int result = -9;
    EXPECT_EQ(visitAll(hash, 3, 0, &result).size(), 3u);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(visitAll(hash, 1, 2, &result).size(), 1u);
    EXPECT_EQ(result, 2);
    EXPECT_EQ(visitAll(hash, 5, -1, &result).size(), 5u);
    EXPECT_EQ(result, -1);
}

TEST(DiffHashPrimes, FirstSizesAndTheirContinuation)
{
    const int first[] = {7,      13,     31,     61,      127,     251,     509,
                         1021,   2039,   4093,   8191,    16381,   32749,   65521,
                         131071, 262139, 524269, 1048573, 2097143};
    ASSERT_GT(hashPrimeCount, 19);
    for (int i = 0; i < 19; i++)
        EXPECT_EQ(hashPrimes[i], first[i]);
    auto isPrime = [](int n) {
        for (int d = 2; static_cast<long long>(d) * d <= n; d++)
            if (n % d == 0)
                return false;
        return n > 1;
    };
    for (int i = 0; i < hashPrimeCount; i++) {
        EXPECT_TRUE(isPrime(hashPrimes[i])) << hashPrimes[i];
        // Each size lies just below the power of two 2^(i + 3).
        const long long power = 1LL << (i + 3);
        EXPECT_LT(hashPrimes[i], power);
        EXPECT_GT(hashPrimes[i], power / 2);
    }
    // The continuation takes the largest prime below each power of two.
    for (int i = 19; i < hashPrimeCount; i++)
        for (long long n = hashPrimes[i] + 1LL; n < (1LL << (i + 3)); n++)
            EXPECT_FALSE(isPrime(static_cast<int>(n))) << n;
    // Room for every 24-bit colour before the last growth.
    EXPECT_GT(hashPrimes[hashPrimeCount - 1], 1 << 25);
    EXPECT_LT(hashPrimes[hashPrimeCount - 2], 1 << 25);
}

TEST_F(DiffHashTest, KeepsGrowingPastTheFirstNineteenSizes)
{
    // 1572858 keys was the limit of a table of 2097143 slots; the next size
    // takes them all and keeps the numbering.
    const int keys = 1572858 + 10;
    char key[16];
    int order = -1;
    for (int i = 0; i < keys; i++) {
        std::snprintf(key, sizeof key, "%d", i);
        ASSERT_EQ(hashInsert(hash, key, &order), 1) << i;
        ASSERT_EQ(order, i);
    }
    EXPECT_EQ(hash->size, 4194301);
    EXPECT_EQ(hash->used, keys);
}

TEST_F(DiffHashTest, KeyThatCannotBeCopiedLeavesTheTableAsItWas)
{
    hashInsert(hash, "a", nullptr);
    hashInsert(hash, "b", nullptr);
    FailingAllocator::arm({1});
    int order = 77;
    EXPECT_EQ(hashInsert(hash, "c", &order), 0);
    EXPECT_EQ(order, 77);
    EXPECT_EQ(hash->used, 2);
    int keys = 0;
    for (int i = 0; i < hash->size; i++) {
        if (hash->table[i].key != nullptr)
            keys++;
        else
            EXPECT_EQ(hash->table[i].count, 0);
    }
    EXPECT_EQ(keys, 2);
    int count = 5;
    EXPECT_EQ(hashLookup(hash, "c", &count, &order), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(order, -1);
    // Present keys need no copy.
    EXPECT_EQ(hashInsert(hash, "a", &order), 2);
    FailingAllocator::disarm();
    EXPECT_EQ(hashInsert(hash, "c", &order), 1);
    EXPECT_EQ(order, 2);
}

TEST_F(DiffHashTest, FailedGrowthGoesOnInTheOldSlotsUntilFull)
{
    for (int i = 0; i < 6; i++)
        hashInsert(hash, keyOf(i).c_str(), nullptr);
    // The growth's two arrays cannot be had; the key copy that follows can.
    FailingAllocator::arm({1, 2});
    int order = -1;
    EXPECT_EQ(hashInsert(hash, keyOf(6).c_str(), &order), 1);  // room is left
    EXPECT_EQ(order, 6);
    EXPECT_EQ(hash->size, 7);
    EXPECT_EQ(hash->sizeIndex, 0);
    EXPECT_EQ(hash->used, 7);

    FailingAllocator::arm({}, true);
    order = 55;
    EXPECT_EQ(hashInsert(hash, "new", &order), 0);
    EXPECT_EQ(hashInsert(hash, keyOf(2).c_str(), &order), 0);  // present, yet full
    EXPECT_EQ(order, 55);

    // A probe for an absent key in a table whose every slot holds a key ends.
    int count = 9;
    EXPECT_EQ(hashLookup(hash, "absent", &count, &order), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(order, -1);
    EXPECT_EQ(hashFind(hash, "absent"), -1);
    EXPECT_EQ(hashLookup(hash, keyOf(4).c_str(), &count, &order), 1);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(order, 4);

    FailingAllocator::disarm();
    EXPECT_EQ(hashInsert(hash, "new", &order), 1);
    EXPECT_EQ(order, 7);
    EXPECT_EQ(hash->size, 13);
}

TEST_F(DiffHashTest, GrowthFailingOnItsSecondArrayFreesTheFirst)
{
    for (int i = 0; i < 6; i++)
        hashInsert(hash, keyOf(i).c_str(), nullptr);
    HashEntry *table = hash->table;
    FailingAllocator::arm({2});
    EXPECT_EQ(hashGrow(hash), 0);
    EXPECT_EQ(hash->table, table);
    EXPECT_EQ(hash->size, 7);
    EXPECT_EQ(hash->used, 6);
    // The sanitizer build reports the first array if it leaked.
}

TEST(DiffHashCreate, NothingIsLeftWhenMemoryRunsOut)
{
    for (int failing = 1; failing <= 3; failing++) {
        FailingAllocator::arm({failing});
        EXPECT_EQ(hashCreate(), nullptr) << "allocation " << failing;
    }
    FailingAllocator::disarm();
}

using DiffHashDeathTest = DiffHashTest;

TEST_F(DiffHashDeathTest, InvalidTablesAreReported)
{
    const char *insertText =
        "Assertion failed: hash && \\(hash->size > 0\\) && \\(hash->used >= 0\\) && hash->table, "
        "file diff/hash.cpp";
    const char *destroyText =
        "Assertion failed: hash && \\(hash->size > 0\\) && \\(hash->used >= 0\\) && hash->table && "
        "hash->index, file diff/hash.cpp";
    const char *forEachText =
        "Assertion failed: hash && \\(hash->size > 0\\) && \\(hash->used >= 0\\) && hash->table && "
        "hash->index && callback, file diff/hash.cpp";
    EXPECT_DEATH(hashInsert(nullptr, "a", nullptr), insertText);
    EXPECT_DEATH(hashLookup(nullptr, "a", nullptr, nullptr), insertText);
    EXPECT_DEATH(hashDestroy(nullptr), destroyText);
    EXPECT_DEATH(hashGrow(nullptr), destroyText);
    EXPECT_DEATH(hashForEach(nullptr, recordVisit), forEachText);
    EXPECT_DEATH(hashForEach(hash, nullptr), forEachText);
    Hash broken = *hash;
    broken.used = -1;
    EXPECT_DEATH(hashInsert(&broken, "a", nullptr), insertText);
    broken = *hash;
    broken.index = nullptr;
    EXPECT_DEATH(hashDestroy(&broken), destroyText);
}
