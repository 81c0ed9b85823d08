#pragma once

// One place for the version, read by the resource script and by the tests.
#define TRELVANE_VERSION_NUMBERS 1, 0, 0, 2
#define TRELVANE_VERSION_TEXT "1.00.0002"
