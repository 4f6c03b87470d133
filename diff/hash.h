#ifndef GLINT_DIFF_HASH_H
#define GLINT_DIFF_HASH_H

// A table of text keys that counts how often each key was entered and numbers
// the keys 0, 1, 2 ... in the order of their first entry. Open addressing with
// double hashing over prime sizes; the table grows when three quarters full
// and keeps the numbering.

// One slot. An empty slot has no key, order -1 and count 0.
struct HashEntry {
    char *key;   // the table's own copy
    int order;   // the key's number
    int count;   // insertions of this key
};

struct Hash {
    HashEntry *table;  // size slots
    int *index;        // index[i] is the slot of the key numbered i; -1 beyond used
    int size;          // number of slots, a value of hashPrimes
    int used;          // number of keys stored
    int sizeIndex;     // position of size in hashPrimes
};

// The slot counts in order of growth.
extern const int hashPrimes[];
extern const int hashPrimeCount;

// A new empty table of 7 slots, or nullptr when memory runs out.
Hash *hashCreate();

// Enters key. 1: the key was new and is stored; 2: the key was present and
// its count grew; 0: nothing done (null key, the key could not be copied, or a
// full table that cannot grow). On 1 and 2 *order (when given) receives the
// key's number.
int hashInsert(Hash *hash, const char *key, int *order);

// 1 with the count and number of key (0 and -1 when absent); 0 for a null
// key, outputs untouched.
int hashLookup(Hash *hash, const char *key, int *count, int *order);

// Calls callback(key, number, count) for each key in the order of the
// numbers. Stops at the first call that returns anything but 1 and returns
// that value; 1 after the last key.
typedef int (*HashCallback)(const char *key, int order, int count);
int hashForEach(Hash *hash, HashCallback callback);

// Frees the keys, the index, the slots and the table; 1.
int hashDestroy(Hash *hash);

#endif
