#ifndef GLINT_DIFF_HASH_PRIVATE_H
#define GLINT_DIFF_HASH_PRIVATE_H

// Inner operations of the hash module, declared here so that its tests and
// the colour count can reach them.

#include <cstddef>
#include <cstdint>

#include "diff/hash.h"

// The hash of a key; bytes above 127 count as negative.
std::uint32_t hashString(const char *key);

// The slot holding key, or the empty slot where it belongs; -1 when every
// slot holds another key.
int hashFind(const Hash *hash, const char *key);

// Asks the processor to start loading what hashFind will first read for key:
// its home slot, or (heldKey) the key that slot holds, which needs the slot
// itself in the cache to be cheap. Changes nothing.
void hashPrefetch(const Hash *hash, const char *key, bool heldKey);

// Moves the table to the next size of hashPrimes; 1 on success, 0 when it is
// already the largest or memory runs out (the table is then as before).
int hashGrow(Hash *hash);

// A copy of s, or nullptr for a null s or when memory runs out.
char *hashStrDup(const char *s);

// The allocator behind every allocation of this module (std::malloc unless
// replaced). Tests replace it to make allocations fail.
extern void *(*hashAllocator)(std::size_t bytes);

#endif
