#include "diff/hash.h"

#include <cstdlib>
#include <cstring>

#include "common/assertion.h"
#include "diff/hash_private.h"

// Prime slot counts, each about twice the last. The first nineteen reach
// 2097143 slots; the rest let the table keep growing by the same rule so that
// every colour of a 24-bit image (up to 16777216 keys) fits.
const int hashPrimes[] = {
    7,       13,      31,      61,       127,      251,      509,      1021,
    2039,    4093,    8191,    16381,    32749,    65521,    131071,   262139,
    524269,  1048573, 2097143, 4194301,  8388593,  16777213, 33554393, 67108859,
};
const int hashPrimeCount = sizeof(hashPrimes) / sizeof(hashPrimes[0]);

void *(*hashAllocator)(std::size_t bytes) = std::malloc;

std::uint32_t hashString(const char *key)
{
    std::uint32_t h = 0;
    for (const char *p = key; *p != '\0'; p++) {
        // Each byte as a signed 8-bit value: 128..255 count as -128..-1.
        const std::int32_t c = static_cast<signed char>(*p);
        h = (h << 4) + static_cast<std::uint32_t>(c);
        const std::uint32_t g = h & 0x0F000000u;
        if (g != 0)
            h ^= g >> 24;
        h &= ~g;
    }
    return h;
}

int hashFind(const Hash *hash, const char *key)
{
    const std::uint32_t size = static_cast<std::uint32_t>(hash->size);
    const std::uint32_t home = hashString(key) % size;
    const std::uint32_t step = home % (size - 1) + 1;
    std::uint32_t slot = home;
    // The size is prime, so size probes visit every slot once; a table whose
    // every slot holds another key ends the search there.
    for (std::uint32_t probes = 0; probes < size; probes++) {
        const char *held = hash->table[slot].key;
        if (held == nullptr || std::strcmp(held, key) == 0)
            return static_cast<int>(slot);
        slot += step;
        if (slot >= size)
            slot -= size;
    }
    return -1;
}

void hashPrefetch(const Hash *hash, const char *key, bool heldKey)
{
    const HashEntry *home = &hash->table[hashString(key) % static_cast<std::uint32_t>(hash->size)];
    if (!heldKey)
        __builtin_prefetch(home);
    else if (home->key != nullptr)
        __builtin_prefetch(home->key);
}

char *hashStrDup(const char *s)
{
    if (s == nullptr)
        return nullptr;
    const std::size_t bytes = std::strlen(s) + 1;
    char *copy = static_cast<char *>(hashAllocator(bytes));
    if (copy == nullptr)
        return nullptr;
    std::memcpy(copy, s, bytes);
    return copy;
}

// Empties every slot and every index entry of a table of size slots.
static void hashClear(HashEntry *table, int *index, int size)
{
    for (int i = 0; i < size; i++) {
        table[i].key = nullptr;
        table[i].order = -1;
        table[i].count = 0;
        index[i] = -1;
    }
}

int hashGrow(Hash *hash)
{
    GLINT_ASSERT(hash && (hash->size > 0) && (hash->used >= 0) && hash->table && hash->index);
    if (hash->sizeIndex >= hashPrimeCount - 1)
        return 0;

    HashEntry *oldTable = hash->table;
    int *oldIndex = hash->index;
    const int oldSize = hash->size;
    const int oldUsed = hash->used;
    const int oldSizeIndex = hash->sizeIndex;

    hash->sizeIndex++;
    hash->size = hashPrimes[hash->sizeIndex];
    const std::size_t size = static_cast<std::size_t>(hash->size);
    hash->table = static_cast<HashEntry *>(hashAllocator(size * sizeof(HashEntry)));
    hash->index = static_cast<int *>(hashAllocator(size * sizeof(int)));
    if (hash->table == nullptr || hash->index == nullptr) {
        std::free(hash->table);
        std::free(hash->index);
        hash->table = oldTable;
        hash->index = oldIndex;
        hash->sizeIndex = oldSizeIndex;
        hash->size = oldSize;
        hash->used = oldUsed;
        return 0;
    }

    hashClear(hash->table, hash->index, hash->size);
    hash->used = 0;
    // Entries move whole, in the order of their numbers: key pointer, number
    // and count stay as they were.
    for (int i = 0; i < oldUsed; i++) {
        const HashEntry &entry = oldTable[oldIndex[i]];
        const int slot = hashFind(hash, entry.key);
        hash->table[slot] = entry;
        hash->used++;
        hash->index[i] = slot;
    }
    std::free(oldTable);
    std::free(oldIndex);
    return 1;
}

Hash *hashCreate()
{
    Hash *hash = static_cast<Hash *>(hashAllocator(sizeof(Hash)));
    if (hash == nullptr)
        return nullptr;
    hash->sizeIndex = 0;
    hash->size = hashPrimes[0];
    hash->table = static_cast<HashEntry *>(hashAllocator(hash->size * sizeof(HashEntry)));
    hash->index = static_cast<int *>(hashAllocator(hash->size * sizeof(int)));
    if (hash->table == nullptr || hash->index == nullptr) {
        std::free(hash->table);
        std::free(hash->index);
        std::free(hash);
        return nullptr;
    }
    hashClear(hash->table, hash->index, hash->size);
    hash->used = 0;
    return hash;
}

int hashInsert(Hash *hash, const char *key, int *order)
{
    GLINT_ASSERT(hash && (hash->size > 0) && (hash->used >= 0) && hash->table);
    if (key == nullptr)
        return 0;

    // Growth is tried before the key is sought, so entering a key already
    // present can grow the table too.
    const int size = hash->size;
    const int used = hash->used;
    if (used * 4 >= size * 3 && !hashGrow(hash) && used >= size)
        return 0;

    const int slot = hashFind(hash, key);
    if (slot < 0)
        return 0;
    HashEntry &entry = hash->table[slot];
    int result = 2;
    if (entry.key == nullptr) {
        // A key that cannot be copied is not entered at all: every numbered
        // slot must hold its key.
        char *copy = hashStrDup(key);
        if (copy == nullptr)
            return 0;
        entry.key = copy;
        entry.order = hash->used;
        hash->used++;
        hash->index[entry.order] = slot;
        result = 1;
    }
    entry.count++;
    if (order != nullptr)
        *order = entry.order;
    return result;
}

int hashLookup(Hash *hash, const char *key, int *count, int *order)
{
    GLINT_ASSERT(hash && (hash->size > 0) && (hash->used >= 0) && hash->table);
    if (key == nullptr)
        return 0;
    const int slot = hashFind(hash, key);
    // An absent key in a table whose every slot is taken has no slot at all.
    const HashEntry *entry = slot < 0 ? nullptr : &hash->table[slot];
    if (entry == nullptr || entry->key == nullptr) {
        if (count != nullptr)
            *count = 0;
        if (order != nullptr)
            *order = -1;
        return 1;
    }
    if (count != nullptr)
        *count = entry->count;
    if (order != nullptr)
        *order = entry->order;
    return 1;
}

int hashForEach(Hash *hash, HashCallback callback)
{
    GLINT_ASSERT(hash && (hash->size > 0) && (hash->used >= 0) && hash->table && hash->index && callback);
    for (int i = 0; i < hash->used; i++) {
        const HashEntry &entry = hash->table[hash->index[i]];
        const int result = callback(entry.key, entry.order, entry.count);
        if (result != 1)
            return result;
    }
    return 1;
}

int hashDestroy(Hash *hash)
{
    GLINT_ASSERT(hash && (hash->size > 0) && (hash->used >= 0) && hash->table && hash->index);
    for (int i = 0; i < hash->used; i++)
        std::free(hash->table[hash->index[i]].key);
    std::free(hash->index);
    std::free(hash->table);
    std::free(hash);
    return 1;
}
