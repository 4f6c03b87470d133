#include "diff/measures.h"

#include <cmath>

#include "diff/hash.h"
#include "diff/hash_private.h"

// The key of a colour: its 24 bits as six characters of four bits each, every
// character offset by 0x40 so that none is the terminator. Two colours share a
// key exactly when their bytes are equal. The table's hash of such a key is
// not the colour's 24-bit value c: shifting the six characters in four bits
// at a time gives s = 0x4444440 + c, and the hash is the low 24 bits of s
// XORed with s >> 24 (4 or 5). That is one-to-one over the 2^24 colours (it
// maps them onto the 24-bit values), which is what the count needs of it:
// distinct colours never have equal hashes, which would give them the same
// home slot and the same probe sequence at every table size. They still share
// a home slot when their hashes are equal modulo the table's size.
static void colorKey(unsigned char red, unsigned char green, unsigned char blue, char key[7])
{
    key[0] = static_cast<char>(0x40 + (red >> 4));
    key[1] = static_cast<char>(0x40 + (red & 15));
    key[2] = static_cast<char>(0x40 + (green >> 4));
    key[3] = static_cast<char>(0x40 + (green & 15));
    key[4] = static_cast<char>(0x40 + (blue >> 4));
    key[5] = static_cast<char>(0x40 + (blue & 15));
    key[6] = '\0';
}

int imgCountColors(Image *image)
{
    const int width = imgGetWidth(image);
    const int height = imgGetHeight(image);
    Hash *hash = hashCreate();
    if (hash == nullptr)
        return 0;
    const unsigned char *red = imgGetRedPlane(image);
    const unsigned char *green = imgGetGreenPlane(image);
    const unsigned char *blue = imgGetBluePlane(image);
    // Every pixel is entered; the largest number handed out is the count
    // less one. A refused key leaves the running number as it was.
    // The table is far larger than the caches, so each entry waits on memory
    // twice (its slot, then the key the slot points to); both loads are
    // started some pixels ahead to overlap those waits.
    const int pixels = width * height;
    const int slotAhead = 16, keyAhead = 8;
    int number = 0;
    int maximum = 0;
    char key[7];
    for (int i = 0; i < pixels; i++) {
        if (i + slotAhead < pixels) {
            const int j = i + slotAhead;
            colorKey(red[j], green[j], blue[j], key);
            hashPrefetch(hash, key, false);
        }
        if (i + keyAhead < pixels) {
            const int j = i + keyAhead;
            colorKey(red[j], green[j], blue[j], key);
            hashPrefetch(hash, key, true);
        }
        colorKey(red[i], green[i], blue[i], key);
        hashInsert(hash, key, &number);
        if (number > maximum)
            maximum = number;
    }
    hashDestroy(hash);
    return maximum + 1;
}

double imgError(Image *image1, Image *image2)
{
    const int w = imgGetWidth(image1);
    const int h = imgGetHeight(image1);
    if (w != imgGetWidth(image2) || h != imgGetHeight(image2))
        return -1.0;
    const unsigned char *red1 = imgGetRedPlane(image1);
    const unsigned char *green1 = imgGetGreenPlane(image1);
    const unsigned char *blue1 = imgGetBluePlane(image1);
    unsigned char *red2 = imgGetRedPlane(image2);
    unsigned char *green2 = imgGetGreenPlane(image2);
    unsigned char *blue2 = imgGetBluePlane(image2);
    double sum = 0.0;
    for (int y = 0; y < h; y++) {
        const int row = y * w;
        for (int x = 0; x < w; x++) {
            const int i = row + x;
            const double dr = static_cast<double>(red1[i]) - static_cast<double>(red2[i]);
            const double dg = static_cast<double>(green1[i]) - static_cast<double>(green2[i]);
            const double db = static_cast<double>(blue1[i]) - static_cast<double>(blue2[i]);
            sum = std::sqrt(dr * dr + dg * dg + db * db) + sum;
            red2[i] = static_cast<unsigned char>(std::fabs(dr));
            green2[i] = static_cast<unsigned char>(std::fabs(dg));
            blue2[i] = static_cast<unsigned char>(std::fabs(db));
        }
    }
    return sum / static_cast<double>(w * h);
}
