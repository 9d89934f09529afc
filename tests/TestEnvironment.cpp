// Linked into every test program: the folders the tests look in default to this build's, so a
// test program runs the same under ctest and on its own. An environment that names them wins.
#include <cstdlib>

namespace {
const bool kDefaultsSet = [] {
    setenv("KRV_BIN_DIR", KRV_DEFAULT_BIN_DIR, 0);
    setenv("KRV_SOURCE_DIR", KRV_DEFAULT_SOURCE_DIR, 0);
    return true;
}();
}  // namespace
