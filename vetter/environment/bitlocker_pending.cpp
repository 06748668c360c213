// The drive-encryption listing is not built yet: it reports that WMI could
// not be used.
#include "vetter/api/exports.h"

int CheckBitLocker() {
    return 0;
}
