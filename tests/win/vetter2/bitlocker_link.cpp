// The drive-encryption listing, built into this program as well, so a fake
// WMI session can feed it the volumes Wine's provider-less WMI cannot.
#include "vetter/environment/bitlocker_listing.cpp"
