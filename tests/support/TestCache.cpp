#include <cstdlib>

namespace {

// Every test program keeps the caches of what it runs (the font lookups, fontconfig's) in the
// build directory, never in the user's. Set before main, so that the first lookup sees it.
const bool CacheInBuildDirectory = setenv("XDG_CACHE_HOME", QUILLMARK_TEST_CACHE, 1) == 0;

} // namespace
