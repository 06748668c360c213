// The machine-state fixtures of the first plug-in test folder, built into
// this program as well.
#include "tests/win/vetter/registry_fixtures.cpp"
