// The stub driver of the setup tests and the server lookup of the HTTP tests,
// built into this program as well.
#include "tests/win/http/servers.cpp"
#include "tests/win/setup/setup_driver.cpp"
